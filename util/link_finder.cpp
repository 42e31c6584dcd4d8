#include "util/link_finder.h"

#include "util/strings.h"

#include <array>

namespace quillet {

namespace {

// The characters that may continue a link. Every byte from 128 on belongs to each set, so a
// UTF-8 character is never cut: links end only at ASCII characters.
enum class TCharSet { A, B, C, D, E, F };

bool IsAsciiAlnum(unsigned char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9');
}

bool InSet(TCharSet Set, char Ch) {
    const auto C = static_cast<unsigned char>(Ch);
    if (C >= 128 || IsAsciiAlnum(C))
        return true;
    constexpr std::string_view kSetA = "#%&+-./:=?@_~";
    const bool InA = kSetA.find(Ch) != std::string_view::npos;
    switch (Set) {
    case TCharSet::A:
        return InA;
    case TCharSet::B:
        return InA || Ch == ';';
    case TCharSet::C:
        return InA || Ch == '!' || Ch == '$';
    case TCharSet::D:
        return InA && Ch != '#' && Ch != '&' && Ch != '@';
    case TCharSet::E:
        return Ch == '+' || Ch == '-' || Ch == '.' || Ch == '_';
    case TCharSet::F:
        return InA || Ch == '\\';
    }
    return false;
}

struct TLinkRule {
    std::string_view Prefix; // lower case
    TCharSet Set;
    bool ExtendBackwards;
    bool NotAfterSlash; // "www." right after a slash belongs to the web rules
};

constexpr std::array<TLinkRule, 14> kRules{{
    {"http://", TCharSet::A, false, false},
    {"https://", TCharSet::A, false, false},
    {"www.", TCharSet::A, false, true},
    {"ftp://", TCharSet::B, false, false},
    {"ftps://", TCharSet::B, false, false},
    {"telnet://", TCharSet::A, false, false},
    {"tn3270://", TCharSet::A, false, false},
    {"gopher://", TCharSet::C, false, false},
    {"wais://", TCharSet::A, false, false},
    {"news:", TCharSet::D, false, false},
    {"nntp://", TCharSet::D, false, false},
    {"@", TCharSet::D, true, false},
    {"prospero://", TCharSet::E, true, false},
    {"file://", TCharSet::F, false, false},
}};

// Appends every occurrence of the rule's prefix in Lower (Text with ASCII letters lowered) that
// has characters of the rule's set after it (and before it, for a backwards rule).
void ScanRule(const TLinkRule& Rule, std::string_view Text, std::string_view Lower,
              std::vector<TFoundLink>& Found) {
    const std::size_t PrefixLength = Rule.Prefix.size();
    for (std::size_t P = Lower.find(Rule.Prefix); P != std::string_view::npos;
         P = Lower.find(Rule.Prefix, P + 1)) {
        std::size_t S = P;
        std::size_t E = P + PrefixLength; // one past the link's last character
        if (Rule.ExtendBackwards)
            while (S > 0 && InSet(Rule.Set, Text[S - 1]))
                --S;
        while (E < Text.size() && InSet(Rule.Set, Text[E]))
            ++E;
        if (E == P + PrefixLength)
            continue;
        if (Rule.ExtendBackwards && S == P)
            continue;
        if (Rule.NotAfterSlash && P > 0 && Text[P - 1] == '/')
            continue;
        // A sentence's comma or full stop after the link is not part of it.
        while (E > S && Text[E - 1] == ',')
            --E;
        while (E > S && Text[E - 1] == '.')
            --E;
        Found.push_back({static_cast<int>(S) + 1, std::string(Text.substr(S, E - S))});
    }
}

} // namespace

std::vector<TFoundLink> FindLinkList(std::string_view Text) {
    std::string Lower(Text);
    for (char& C : Lower)
        C = AsciiLower(C);
    std::vector<TFoundLink> Found;
    for (const TLinkRule& Rule : kRules)
        ScanRule(Rule, Text, Lower, Found);
    return Found;
}

bool FindLinks(std::string_view Text, std::vector<std::string>& List) {
    List.clear();
    for (const TFoundLink& Link : FindLinkList(Text))
        List.push_back(std::to_string(Link.Position) + "," + Link.Link);
    return !List.empty();
}

} // namespace quillet
