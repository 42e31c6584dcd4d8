// Finds web addresses, other URLs and e-mail addresses in 8-bit text (UTF-8 bytes). Positions
// are 1-based byte positions in the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct TFoundLink {
    int Position = 0; // 1-based byte position of the link's first character
    std::string Link; // the link text exactly as it stands in the text
};

// The links of Text, in the order of the fourteen rules (http://, https://, www., ftp://,
// ftps://, telnet://, tn3270://, gopher://, wais://, news:, nntp://, e-mail "@", prospero://,
// file://) and within a rule in text order. One stretch of text can be listed by two rules (a web
// address holding "@" is also found as an e-mail address), so the list is not sorted by position.
std::vector<TFoundLink> FindLinkList(std::string_view Text);

// FindLinkList as a list of texts, each the position in decimal, a comma and the link (a link at
// position 17 is "17,<link>"). List is emptied first; true when at least one link was found.
bool FindLinks(std::string_view Text, std::vector<std::string>& List);

} // namespace quillet
