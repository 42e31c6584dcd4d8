// Preview text of any fetched message: the input split at its first empty line into header and
// body lines. No crash, and a result no bigger than a small multiple of the input.
#include "mail/preview_text.h"
#include "util/strings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        quillet::SplitTextLines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> header, body;
    bool inBody = false;
    for (const std::string& line : lines) {
        if (!inBody && line.empty())
            inBody = true;
        else
            (inBody ? body : header).push_back(line);
    }
    const quillet::TPreview preview = quillet::PreviewText(header, body);
    std::size_t total = 0;
    for (const std::string& line : preview.Lines)
        total += line.size() + 1;
    if (total > 4 * size + 64)
        std::abort();
    if (!preview.Decoded && preview.Lines != body)
        std::abort();
    return 0;
}
