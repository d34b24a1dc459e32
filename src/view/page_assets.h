#pragma once

#include <string_view>

// The page's own files, page.html, page.css and page.js, as the build
// embeds them (embed_assets.cmake): edited as themselves, compiled in.

namespace scenario::view {

extern const std::string_view kPageHtml;
extern const std::string_view kPageStyle;
extern const std::string_view kPageScript;

}  // namespace scenario::view
