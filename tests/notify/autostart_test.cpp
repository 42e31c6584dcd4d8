#include "notify/brightel_autostart.h"
#include "notify/desktop_entry.h"
#include "tests/support/temp_settings.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace quillet {
namespace {

const QString Program = "/opt/Quillet App/quillet";

class Autostart : public ::testing::Test {
protected:
    void SetUp() override { TBrightelAutostart::ArmFirstWriteRule(); }

    QString Folder(bool machine) const {
        return QString::fromStdString((machine ? etc : home).FilePath("autostart"));
    }
    QString Entry(bool machine, const QString& file) const { return QDir(Folder(machine)).filePath(file); }
    QStringList Files(bool machine) const { return QDir(Folder(machine)).entryList(QDir::Files, QDir::Name); }
    std::string Text(const QString& file) const {
        QFile f(Entry(false, file));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }
    std::unique_ptr<TBrightelAutostart> Make(const QString& program = Program, QString machine = QString()) {
        auto result = std::make_unique<TBrightelAutostart>(
            std::make_unique<TXdgAutostartEntries>(Folder(false), machine.isEmpty() ? Folder(true) : machine),
            program);
        result->setAutostart(false); // as the main window applies its stored value, consuming the first write
        result->setAppName("Quillet");
        return result;
    }

    test::TTempAppDir home;
    test::TTempAppDir etc;
};

TEST_F(Autostart, SwitchingOnAndOffAndReadingBack) {
    auto a = Make();
    EXPECT_FALSE(a->autostart());
    a->setAutostart(true);
    EXPECT_TRUE(a->autostart());
    EXPECT_NE(Text("Quillet.desktop").find("\nExec=\"/opt/Quillet App/quillet\"\n"), std::string::npos);

    // Changes made outside the program are what reading reports.
    ASSERT_TRUE(QFile::remove(Entry(false, "Quillet.desktop")));
    EXPECT_FALSE(a->autostart());
    a->setAutostart(true);
    QFile f(Entry(false, "Quillet.desktop"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("Hidden=true\n");
    f.close();
    EXPECT_FALSE(a->autostart());

    a->setAutostart(false);
    EXPECT_TRUE(Files(false).isEmpty());
    EXPECT_FALSE(a->autostart());

    a->setStartNextLogon(true);
    EXPECT_TRUE(a->StartNextLogon());
    EXPECT_FALSE(a->autostart());
    EXPECT_EQ(Files(false), QStringList{"Quillet.once.desktop"});
}

TEST_F(Autostart, FirstWriteKeepsTheEntryAndRefreshesItsPath) {
    Make("/old/place/quillet")->setAutostart(true);
    TBrightelAutostart::ArmFirstWriteRule(); // the next run of the program
    TBrightelAutostart a(std::make_unique<TXdgAutostartEntries>(Folder(false), Folder(true)),
                         "/new/place/quillet");
    a.setAppName("Quillet");
    a.setAutostart(false); // the stored initial value
    EXPECT_TRUE(a.autostart());
    EXPECT_NE(Text("Quillet.desktop").find("/new/place/quillet"), std::string::npos);
    a.setAutostart(false); // a real choice of the user's
    EXPECT_FALSE(a.autostart());

    // With no entry, the first write leaves none, whatever it asks.
    TBrightelAutostart::ArmFirstWriteRule();
    a.setAutostart(true);
    EXPECT_FALSE(a.autostart());
}

TEST_F(Autostart, NewNameMovesEntriesInBothScopes) {
    auto a = Make();
    TXdgAutostartEntries entries(Folder(false), Folder(true));
    ASSERT_TRUE(entries.Set(TAutostartKind::EveryLogon, false, "Quillet", Program));
    ASSERT_TRUE(entries.Set(TAutostartKind::EveryLogon, true, "Quillet", Program));
    ASSERT_TRUE(entries.Set(TAutostartKind::NextLogon, true, "Quillet", Program));

    a->setAppName("QUILLET"); // the same name: nothing moves
    EXPECT_EQ(Files(false), QStringList{"Quillet.desktop"});

    a->setAppName("Mailcheck");
    EXPECT_EQ(a->appName(), "Mailcheck");
    EXPECT_EQ(Files(false), QStringList{"Mailcheck.desktop"});
    EXPECT_EQ(Files(true), (QStringList{"Mailcheck.desktop", "Mailcheck.once.desktop"}));
    EXPECT_TRUE(a->autostart());
}

TEST_F(Autostart, GlobalNeedsTheRightToWriteMachineEntries) {
    etc.WriteFile("not-a-folder", "");
    auto a = Make(Program, QString::fromStdString(etc.FilePath("not-a-folder")) + "/autostart");
    a->setAutostart(true);
    a->setGlobal(true);
    EXPECT_FALSE(a->Global());
    EXPECT_EQ(Files(false), QStringList{"Quillet.desktop"});

    auto b = Make();
    b->setGlobal(true);
    EXPECT_TRUE(b->Global());
    EXPECT_TRUE(Files(false).isEmpty());
    EXPECT_EQ(Files(true), QStringList{"Quillet.desktop"});
    EXPECT_TRUE(b->autostart());
}

TEST_F(Autostart, NamesThatCannotBeEntriesWriteNothing) {
    auto a = Make();
    for (const char* name : {"", "..", "../../escape", "a/b"}) {
        a->setAppName(name);
        a->setAutostart(true);
        EXPECT_FALSE(a->autostart()) << name;
    }
    EXPECT_TRUE(Files(false).isEmpty());
    EXPECT_TRUE(QDir(QString::fromStdString(home.AppDir())).entryList(QDir::Files).isEmpty());
}

TEST(DesktopEntry, ExecQuoting) {
    EXPECT_EQ(DesktopExecLine({"/usr/bin/quillet"}), "\"/usr/bin/quillet\"");
    EXPECT_EQ(DesktopExecLine({"/a b/q\"x"}), "\"/a b/q\\\\\"x\"");
    EXPECT_EQ(DesktopExecLine({"/$HOME/`x`/50%"}), "\"/\\\\$HOME/\\\\`x\\\\`/50%%\"");
    EXPECT_EQ(DesktopExecLine({"a\\b", "c"}), "\"a\\\\\\\\b\" \"c\"");
    EXPECT_EQ(DesktopExecLine({"line\nbreak"}), "\"line\\nbreak\"");
}

TEST(DesktopEntry, WhenAnEntryStartsSomething) {
    const std::pair<const char*, bool> rows[] = {
        {"[Desktop Entry]\nExec=\"/q\"\n", true},
        {"[Desktop Entry]\r\nType=Application\r\nExec = /q \r\n", true},
        {"[Desktop Entry]\nExec=\n", false},
        {"[Desktop Entry]\nName=x\n", false},
        {"[Other]\nExec=/q\n", false},
        {"[Desktop Entry]\nExec=/q\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=/q\nHidden=false\n", true},
        {"[Desktop Entry]\nExec=/q\nX-GNOME-Autostart-enabled=false\n", false},
        {"# comment\n[Desktop Entry]\nExec=/q\n[Desktop Action x]\nExec=\n", true},
        {"", false},
    };
    for (const auto& [text, set] : rows)
        EXPECT_EQ(AutostartEntryIsSet(text), set) << text;
}

} // namespace
} // namespace quillet
