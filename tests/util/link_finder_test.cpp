#include "util/link_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillet;

namespace quillet::test {
namespace {

std::vector<std::string> Entries(const std::string& Text) {
    std::vector<std::string> List{"stale"};
    const bool Found = FindLinks(Text, List);
    EXPECT_EQ(Found, !List.empty()) << Text;
    return List;
}

TEST(LinkFinder, FindsLinksByTheRules) {
    using E = std::vector<std::string>;
    struct Row {
        std::string Text;
        E Expected;
    } Rows[] = {
        {"See http://h/a/b. Bye", E{"5,http://h/a/b"}},
        {"Mail ann@h.dom, or", E{"6,ann@h.dom"}},
        {"Visit www.h.dom today", E{"7,www.h.dom"}},
        {"Visit http://www.h.dom today", E{"7,http://www.h.dom"}},
        {"www.h.dom/www.x", E{"1,www.h.dom/www.x"}},
        {"HTTP://HOST", E{"1,HTTP://HOST"}},
        {"(http://h.dom/x)", E{"2,http://h.dom/x"}},
        {"no links at all", E{}},
        {"", E{}},
        // Rule order first, text order within a rule: the list is not sorted by position.
        {"ann@h.dom or http://a http://b", E{"14,http://a", "23,http://b", "1,ann@h.dom"}},
        {"http://ann@h.dom", E{"1,http://ann@h.dom", "1,http://ann@h.dom"}},
        {"write to mailto:ann@h.dom.", E{"10,mailto:ann@h.dom"}},
        {"http:// x", E{}},
        {"a @ b", E{}},
        {"a@@b", E{}},
        {"http://...", E{"1,http://"}},
        {"http://h/a;b ftp://h/a;type=i", E{"1,http://h/a", "14,ftp://h/a;type=i"}},
        {"gopher://h/$x! http://h/$x", E{"16,http://h/", "1,gopher://h/$x!"}},
        {"news:a#b nntp://h/g&x", E{"1,news:a", "10,nntp://h/g"}},
        {"x prospero://h/p", E{}},
        {"xprospero://h:1/p", E{"1,xprospero://h"}},
        {"file://c:\\dir\\f.txt", E{"1,file://c:\\dir\\f.txt"}},
        {"http://h/a\\b", E{"1,http://h/a"}},
        {"tn3270://h telnet://h wais://h", E{"12,telnet://h", "1,tn3270://h", "23,wais://h"}},
        {"ftps://h\thttps://h", E{"10,https://h", "1,ftps://h"}},
        {"line one\r\nhttp://h\r\n", E{"11,http://h"}},
        // Positions count bytes: two-byte letters before the link, a non-ASCII letter inside it.
        {"Grüße: http://example.org/ä ok", E{"10,http://example.org/ä"}},
        {"Jürgen <jü@h.dom>", E{"10,jü@h.dom"}},
        // Windows-1252 bytes count one each.
        {"Caf\xE9 www.h.dom", E{"6,www.h.dom"}},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(Entries(R.Text), R.Expected) << R.Text;
}

} // namespace
} // namespace quillet::test
