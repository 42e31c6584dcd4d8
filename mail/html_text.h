// The visible text of an HTML part as lines, for the preview of a message: tags, scripts, styles
// and comments left out, character references decoded, block ends made line breaks, and the
// address of a web or mail link kept beside its text ("click <http://x.example/>").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Html is UTF-8; a reference or tag that the end of the text cuts off gives nothing.
std::vector<std::string> HtmlTextLines(std::string_view Html);

} // namespace quillet
