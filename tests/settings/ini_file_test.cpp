#include "settings/ini_document.h"
#include "settings/ini_file.h"
#include "tests/support/temp_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempAppDir;

// One section to a line.
const std::string HandMade =
    "; Quillet settings, edited by hand\r\nstray=line before any section\r\n\r\n"
    "[ACCOUNTS]\r\n  count = 2 \r\nusepassword=0\r\n\r\n"
    "[Extra]\r\nKeep=me\r\n\r\n"
    "[account00]\r\nLABEL=\"  Work  \"\r\n; a comment inside a section\r\nPort=0x6E\r\n\r\n"
    "[Account01]\r\nLabel=Home\r\n";

// Read without regard to case; a write changes only its own line and keeps every other one.
TEST(IniFile, HandMadeFile) {
    TTempAppDir dir;
    dir.WriteFile("Quillet.ini", HandMade);
    TIniFile ini(dir.IniPath());
    EXPECT_EQ(ini.ReadInteger("Accounts", "Count", 0), 2);
    EXPECT_FALSE(ini.ReadBool("Accounts", "UsePassword", true));
    EXPECT_EQ(ini.ReadString("Account00", "Label", ""), "  Work  ");
    EXPECT_EQ(ini.ReadInteger("Account00", "Port", 0), 110); // written as 0x6E
    EXPECT_EQ(ini.ReadString("Account01", "Label", ""), "Home");
    EXPECT_EQ(ini.ReadString("Account01", "Host", "none"), "none");
    EXPECT_EQ(ini.ReadString("Accounts", "stray", "none"), "none");
    EXPECT_EQ(ini.ReadString("Account02", "Label", "none"), "none");

    ini.WriteInteger("Accounts", "Count", 3);
    ini.WriteString("Accounts", "TestPhrase", "AB12");
    ini.WriteString("Account00", "Host", "0A0B");
    ini.WriteString("Account02", "Label", "New");
    std::string expected = HandMade;
    expected.replace(expected.find("  count = 2 "), 12, "count=3");
    expected.insert(expected.find("usepassword=0\r\n") + 15, "TestPhrase=AB12\r\n");
    expected.insert(expected.find("Port=0x6E\r\n") + 11, "Host=0A0B\r\n");
    EXPECT_EQ(dir.ReadFile("Quillet.ini"), expected + "\r\n[Account02]\r\nLabel=New\r\n");
}

TEST(IniFile, FileWithUnixLineEndsAndByteOrderMarkKeepsThem) {
    TTempAppDir dir;
    dir.WriteFile("Quillet.ini", "\xEF\xBB\xBF[Accounts]\nCount=1\n");
    TIniFile ini(dir.IniPath());
    EXPECT_EQ(ini.ReadInteger("Accounts", "Count", 0), 1);
    ini.WriteBool("Accounts", "UsePassword", true);
    EXPECT_EQ(dir.ReadFile("Quillet.ini"), "\xEF\xBB\xBF[Accounts]\nCount=1\nUsePassword=1\n");
}

TEST(IniFile, IntegerForms) {
    const std::pair<const char*, std::int32_t> rows[] = {{"110", 110},       {"-5", -5},
                                                         {"0x6e", 110},      {"0X6E", 110},
                                                         {"0xFFFFFFFF", -1}, {"0x7FFFFFFF", INT32_MAX}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(ParseIniInteger(text, 7), expected) << text;
    for (const char* text : {"0x", "0x100000000", "0xZZ", "", "abc", "12abc", "99999999999"})
        EXPECT_EQ(ParseIniInteger(text, 7), 7) << text;
}

TEST(IniFile, ValuesAreCutToTheReadBuffer) {
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    const std::string longValue(3000, 'x');
    ini.WriteString("Accounts", "TestPhrase", longValue);
    EXPECT_EQ(ini.ReadString("Accounts", "TestPhrase", ""), std::string(2047, 'x'));
    EXPECT_EQ(ini.ReadString("Accounts", "Missing", longValue), std::string(2047, 'x'));
    EXPECT_NE(dir.ReadFile("Quillet.ini").find(longValue), std::string::npos);
}

TEST(IniFile, LineBreaksInAValueCannotAddKeys) {
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    ini.WriteInteger("Accounts", "Count", 1);
    ini.WriteString("Account00", "Label", "evil\r\n[Accounts]\nCount=99");
    EXPECT_EQ(ini.ReadInteger("Accounts", "Count", 0), 1);
    EXPECT_EQ(ini.ReadString("Account00", "Label", ""), "evil  [Accounts] Count=99");
}

TEST(IniFile, HundredTwentyAccountSections) {
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    ini.WriteInteger("Accounts", "Count", 120);
    for (int n = 0; n < 120; ++n) {
        ini.WriteString(AccountSectionName(n), "Label", "Account " + std::to_string(n));
        ini.WriteInteger(AccountSectionName(n), "Port", 1000 + n);
    }
    const std::string text = dir.ReadFile("Quillet.ini");
    for (const char* section :
         {"[Account00]", "[Account09]", "[Account10]", "[Account99]", "[Account100]", "[Account119]"})
        EXPECT_NE(text.find(section), std::string::npos) << section;
    TIniFile again(dir.IniPath());
    for (int n = 0; n < 120; ++n) {
        EXPECT_EQ(again.ReadString(AccountSectionName(n), "Label", ""), "Account " + std::to_string(n));
        EXPECT_EQ(again.ReadInteger(AccountSectionName(n), "Port", 0), 1000 + n);
    }
}

TEST(IniFile, CreatedFileIsForItsOwnerOnlyAndAnExistingFileKeepsItsPermissions) {
    TTempAppDir dir;
    TIniFile created(dir.IniPath());
    created.WriteString("Accounts", "Count", "0");
    EXPECT_EQ(QFileInfo(QString::fromStdString(dir.IniPath())).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    dir.WriteFile("Other.ini", "[Accounts]\r\n");
    const QString other = QString::fromStdString(dir.FilePath("Other.ini"));
    const auto shared =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(other, shared));
    TIniFile existing(dir.FilePath("Other.ini"));
    existing.WriteString("Accounts", "Count", "0");
    EXPECT_EQ(QFileInfo(other).permissions() & 0x7077, shared);

    // Nothing but the two files is left behind by the replacing writes.
    EXPECT_EQ(QDir(QString::fromStdString(dir.AppDir())).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(IniFile, FailedWriteNamesTheFileAndChangesNothing) {
    TTempAppDir dir;
    // Both fail for every user, root included: a folder that is a file, and a file that is a folder.
    dir.WriteFile("plain", "not a folder");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(dir.FilePath("Quillet.ini"))));
    for (const std::string& path : {dir.FilePath("plain") + "/Quillet.ini", dir.IniPath()}) {
        TIniFile ini(path);
        try {
            ini.WriteInteger("Accounts", "Count", 1);
            ADD_FAILURE() << "no error for " << path;
        } catch (const EIniFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        }
        EXPECT_EQ(ini.ReadInteger("Accounts", "Count", 5), 5);
    }
    EXPECT_EQ(dir.ReadFile("plain"), "not a folder");
}

TEST(IniFile, UpdateWritesOnceOrNotAtAll) {
    TTempAppDir dir;
    dir.WriteFile("Quillet.ini", HandMade);
    TIniFile ini(dir.IniPath());
    {
        TIniUpdate update(ini);
        ini.WriteInteger("Accounts", "Count", 3);
        ini.WriteString("Account02", "Label", "New");
        EXPECT_EQ(ini.ReadString("Account02", "Label", ""), "New"); // reads see the update
        EXPECT_EQ(dir.ReadFile("Quillet.ini"), HandMade);           // the file does not, yet
        update.Commit();
    }
    const std::string saved = dir.ReadFile("Quillet.ini");
    EXPECT_NE(saved.find("count=3"), std::string::npos);
    EXPECT_NE(saved.find("[Account02]\r\nLabel=New"), std::string::npos);

    // A save left early by an error writes nothing at all.
    try {
        TIniUpdate update(ini);
        ini.WriteInteger("Accounts", "Count", 9);
        throw std::runtime_error("stopped");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(dir.ReadFile("Quillet.ini"), saved);
    EXPECT_EQ(ini.ReadInteger("Accounts", "Count", 0), 3);

    // A file that cannot be written fails the commit with the usual text.
    dir.WriteFile("plain", "not a folder");
    TIniFile blocked(dir.FilePath("plain") + "/Quillet.ini");
    TIniUpdate update(blocked);
    blocked.WriteInteger("Accounts", "Count", 1);
    EXPECT_THROW(update.Commit(), EIniFileError);
}

TEST(IniDocument, DuplicateSectionsAndKeysUseTheFirst) {
    TIniDocument doc("[A]\r\nk=1\r\nk=2\r\n[b]\r\nx=1\r\n[a]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(doc.Find("a", "K").value_or("-"), "1");
    EXPECT_EQ(doc.Find("A", "j").value_or("-"), "4");
    doc.Set("a", "new", "5");
    EXPECT_EQ(doc.Text(), "[A]\r\nk=1\r\nk=2\r\nnew=5\r\n[b]\r\nx=1\r\n[a]\r\nk=3\r\nj=4\r\n");
    doc.Set("A", "J", "6");
    EXPECT_EQ(doc.Find("a", "j").value_or("-"), "6");
}

} // namespace
} // namespace quillet
