#include "settings/app_dir.h"
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

} // namespace
} // namespace quillet
