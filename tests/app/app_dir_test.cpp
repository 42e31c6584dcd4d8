#include "app/app_dir.h"
#include "app/single_instance.h"
#include "tests/support/temp_settings.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace quillet {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

TEST(AppDir, ProgramFolderWhenWritableOrHoldingTheFileElseUserFolder) {
    test::TTempAppDir program;
    test::TTempAppDir config;
    const QString programDir = QDir(Q(program.AppDir())).path();
    const QString userDir = QDir(Q(config.AppDir())).filePath("Quillet");

    EXPECT_EQ(ChooseAppDir(programDir, userDir), program.AppDir());

    // A program folder that cannot hold files (here: it is a file) sends the settings to the
    // user's folder, which is then created.
    program.WriteFile("quillet-file", "");
    EXPECT_EQ(ChooseAppDir(Q(program.FilePath("quillet-file")), userDir), userDir.toStdString() + "/");
    EXPECT_TRUE(QFileInfo(userDir).isDir());

    // Installed under /usr: the user's folder, even for root, who could write /usr/bin.
    EXPECT_EQ(ChooseAppDir("/usr/bin", userDir), userDir.toStdString() + "/");
}

// A second claim in the same folder fails; a folder without room for a lock does not stop the program.
TEST(SingleInstance, Claims) {
    test::TTempAppDir dir;
    TSingleInstance first(Q(dir.AppDir()));
    EXPECT_TRUE(first.IsFirst());
    EXPECT_FALSE(TSingleInstance(Q(dir.AppDir())).IsFirst());
    dir.WriteFile("file", "");
    EXPECT_TRUE(TSingleInstance(Q(dir.FilePath("file") + "/runtime")).IsFirst());
}

} // namespace
} // namespace quillet
