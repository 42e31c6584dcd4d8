// Settings file text of any bytes: reading, writing a value and reading it back.
#include "settings/ini_document.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    quillet::TIniDocument doc(text);
    for (const char* key : {"Count", "UsePassword", "Label", "Port"}) {
        if (auto v = doc.Find("Accounts", key))
            quillet::ParseIniInteger(*v, 0);
        doc.Find("Account00", key);
    }
    // The first line names the key to write, so the fuzzer reaches existing sections and keys.
    const std::size_t eol = text.find('\n');
    const std::string key = text.substr(0, eol == std::string::npos ? 0 : std::min<std::size_t>(eol, 40));
    std::string name = key;
    while (!name.empty() &&
           (name.front() == ' ' || name.front() == '\t' || name.front() == '[' || name.front() == ';'))
        name.erase(0, 1);
    if (name.empty() || name.find_first_of("=\r\n]") != std::string::npos || name.back() == ' ' ||
        name.back() == '\t')
        name = "Count";
    doc.Set("Accounts", name, "0x1F");
    quillet::TIniDocument again(doc.Text());
    if (again.Find("accounts", name).value_or("") != "0x1F")
        std::abort();
    return 0;
}
