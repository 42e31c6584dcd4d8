// The settings file (Quillet.ini): one value at a time, read from and written to the file at
// once. Reads see the file as it is now; each write replaces the whole file atomically (a
// temporary file beside it, then a rename), so a crash or a full disk never leaves half a file.
// A file that this class creates is readable and writable by its owner only (it holds the
// account credentials); an existing file keeps its permissions.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace quillet {

class TIniDocument;

// Raised when the file cannot be written; the text is "Unable to write to <file>".
class EIniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TIniFile {
public:
    // Values are read into a buffer of this many characters, the last one for the terminator.
    static constexpr std::size_t ReadBufferSize = 2048;

    explicit TIniFile(std::string FileName);
    ~TIniFile();

    const std::string& FileName() const { return FFileName; }

    // The value, or Default when the file, the section or the key is missing; at most
    // ReadBufferSize - 1 characters either way.
    std::string ReadString(const std::string& Section, const std::string& Key,
                           const std::string& Default) const;
    // Decimal, or hexadecimal after "0x"; anything else gives Default.
    std::int32_t ReadInteger(const std::string& Section, const std::string& Key, std::int32_t Default) const;
    // An integer read with default 0 or 1; any number other than 0 is true.
    bool ReadBool(const std::string& Section, const std::string& Key, bool Default) const;

    // Each raises EIniFileError when the file cannot be written, and then leaves it as it was.
    void WriteString(const std::string& Section, const std::string& Key, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Key, std::int32_t Value);
    void WriteBool(const std::string& Section, const std::string& Key, bool Value);

    // A group of writes that reaches the file as one atomic replace, for saves of many values
    // (every account's section): one rewrite instead of one per value, and the file never holds
    // half of a save. Between BeginUpdate and CommitUpdate reads and writes use the text read at
    // BeginUpdate. BeginUpdate raises the write error when the present file cannot be read;
    // CommitUpdate raises it when the file cannot be written, and then leaves it as it was.
    // An update that is not committed (an error left the save early) writes nothing.
    void BeginUpdate();
    void CommitUpdate();
    void CancelUpdate();

private:
    // The file's current text; false when it exists but cannot be read.
    bool Load(TIniDocument& Document) const;
    void Save(const TIniDocument& Document);
    [[noreturn]] void RaiseWriteError() const;

    std::string FFileName;
    std::unique_ptr<TIniDocument> FUpdate; // the text being changed by an update, if one is open
};

// Holds an update open for a scope; a scope left without Commit() (an exception) writes nothing.
class TIniUpdate {
public:
    explicit TIniUpdate(TIniFile& Ini) : FIni(Ini) { FIni.BeginUpdate(); }
    ~TIniUpdate() {
        if (!FDone)
            FIni.CancelUpdate();
    }
    TIniUpdate(const TIniUpdate&) = delete;
    TIniUpdate& operator=(const TIniUpdate&) = delete;
    void Commit() {
        FDone = true;
        FIni.CommitUpdate();
    }

private:
    TIniFile& FIni;
    bool FDone = false;
};

// The settings file section of the account at Index (from 0): "Account" and the number,
// padded with "0" to at least two digits (Account00 ... Account99, Account100 ...).
std::string AccountSectionName(int Index);

} // namespace quillet
