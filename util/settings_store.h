// The registry-style options store as the rest of the program sees it: sections holding
// named string values. The real store (over QSettings) lives with the application; tests use
// a temporary one.
#pragma once

#include <string>

namespace quillet {

class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;
    // The value named Name in Section, or Default when there is none.
    virtual std::string ReadString(const std::string& Section, const std::string& Name,
                                   const std::string& Default) = 0;
    virtual void WriteString(const std::string& Section, const std::string& Name,
                             const std::string& Value) = 0;
};

} // namespace quillet
