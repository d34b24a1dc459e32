#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/temp_dir.h"

// Running the tool and a headless Chromium on the pages it writes.

namespace scenario::testing {

inline const std::string kChromium = "/usr/bin/chromium";
// Every run of the browser or the tool has this long to end.
inline constexpr std::chrono::seconds kDeadline{60};

struct Ran {
  std::optional<int> status;
  std::string out;
  std::string err;
};

inline Ran run(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {"PATH=/usr/bin:/bin"}) {
  TempDir output;
  Ran ran;
  ran.status = run_program(program, arguments, environment, kDeadline, output / "out", output / "err");
  ran.out = bytes_of(output / "out").value_or("");
  ran.err = bytes_of(output / "err").value_or("");
  return ran;
}

inline Ran scenario(const std::vector<std::string>& arguments) { return run(SCENARIO_PROGRAM, arguments); }

// The browser with a profile of its own, which it may write.
inline Ran chromium(const TempDir& profile, std::vector<std::string> arguments) {
  std::vector<std::string> all = {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                  "--user-data-dir=" + (profile / "profile").string()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return run(kChromium, all, {"PATH=/usr/bin:/bin", "HOME=" + profile.path().string()});
}

// The page's document once its scripts have run, as the browser dumps it.
inline std::string dumped_dom(const std::string& url) {
  TempDir profile;
  return chromium(profile, {"--dump-dom", url}).out;
}

inline std::string file_url(const std::filesystem::path& page, const std::string& hash = "") {
  return "file://" + std::filesystem::absolute(page).string() + hash;
}

// The data the tool wrote into the page.
inline nlohmann::json page_data_of(const std::string& page) {
  const std::string open = "<script type=\"application/json\" id=\"page-data\">";
  const size_t start = page.find(open) + open.size();
  return nlohmann::json::parse(page.substr(start, page.find("</script>", start) - start));
}

}  // namespace scenario::testing
