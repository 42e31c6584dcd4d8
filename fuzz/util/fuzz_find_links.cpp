// Mail text comes from servers: any bytes must give links that lie inside the text and read
// exactly as the text at their positions, without crashing.
#include "util/link_finder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<quillet::TFoundLink> found = quillet::FindLinkList(text);
    for (const quillet::TFoundLink& link : found) {
        if (link.Position < 1 || link.Link.empty())
            __builtin_trap();
        const auto start = static_cast<std::size_t>(link.Position - 1);
        if (start + link.Link.size() > text.size() || text.compare(start, link.Link.size(), link.Link) != 0)
            __builtin_trap();
        for (char c : link.Link)
            if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"' || c == '<' || c == '>')
                __builtin_trap();
    }
    std::vector<std::string> list;
    if (quillet::FindLinks(text, list) != !found.empty() || list.size() != found.size())
        __builtin_trap();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] != std::to_string(found[i].Position) + "," + found[i].Link)
            __builtin_trap();
    return 0;
}
