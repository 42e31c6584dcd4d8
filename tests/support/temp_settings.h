// Temporary settings for tests: an options store held in memory, and a private program folder
// for a settings file, removed with the object.
#pragma once

#include "util/settings_store.h"

#include <QTemporaryDir>
#include <map>
#include <string>

namespace quillet::test {

// An options store in memory. Section and value names compare without regard to letter case,
// as registry key and value names do.
class TTempSettingsStore : public TSettingsStore {
public:
    std::string ReadString(const std::string& Section, const std::string& Name,
                           const std::string& Default) override;
    void WriteString(const std::string& Section, const std::string& Name, const std::string& Value) override;

    bool Contains(const std::string& Section, const std::string& Name) const;
    // Number of values written so far (rewrites included).
    int WriteCount() const { return FWriteCount; }

private:
    static std::string KeyOf(const std::string& Section, const std::string& Name);
    std::map<std::string, std::string> FValues;
    int FWriteCount = 0;
};

// A fresh, empty folder to stand for the program folder (AppDir).
class TTempAppDir {
public:
    TTempAppDir();
    // The folder with a trailing separator.
    std::string AppDir() const;
    // AppDir followed by Name.
    std::string FilePath(const std::string& Name) const;
    std::string IniPath() const { return FilePath("Quillet.ini"); }
    // Writes or reads a file of the folder as raw bytes.
    void WriteFile(const std::string& Name, const std::string& Bytes) const;
    std::string ReadFile(const std::string& Name) const;

private:
    QTemporaryDir FDir;
};

} // namespace quillet::test
