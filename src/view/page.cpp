#include "view/page.h"

#include <string_view>

#include "view/page_assets.h"

namespace scenario::view {
namespace {

constexpr std::string_view kStyleSlot = "/*PAGE STYLE*/";
constexpr std::string_view kScriptSlot = "/*PAGE SCRIPT*/";
constexpr std::string_view kDataSlot = "/*PAGE DATA*/";

void fill(std::string& page, std::string_view slot, std::string_view content) {
  const size_t at = page.find(slot);
  if (at != std::string::npos) page.replace(at, slot.size(), content);
}

// JSON inside a script element: no "<" may stand there, or a text holding
// "</script>" would end the element; in a JSON string "\u003c" reads the same.
std::string script_safe(const std::string& json) {
  std::string safe;
  safe.reserve(json.size());
  for (const char c : json) {
    if (c == '<') {
      safe += "\\u003c";
    } else {
      safe += c;
    }
  }
  return safe;
}

}  // namespace

std::string page_html(const nlohmann::ordered_json& data) {
  std::string page(kPageHtml);
  // The data last: no slot's name inside it can be taken for a slot.
  fill(page, kStyleSlot, kPageStyle);
  fill(page, kScriptSlot, kPageScript);
  fill(page, kDataSlot, script_safe(data.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)));
  return page;
}

}  // namespace scenario::view
