// The command line and the settings folder of a run.
#include "settings/start_options.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet::test {

TEST(StartOptions, CommandLine) {
    struct Row {
        QStringList arguments;
        QString variable;
        QString settingsDir;
        bool help, version, error;
    };
    const Row rows[] = {
        {{"quillet"}, "", "", false, false, false},
        {{"quillet"}, "/tmp/env", "/tmp/env", false, false, false},
        {{"quillet", "--settings-dir", "/tmp/opt"}, "/tmp/env", "/tmp/opt", false, false, false},
        {{"quillet", "--settings-dir=/tmp/opt"}, "", "/tmp/opt", false, false, false},
        // The toolkit's own options are not ours to refuse.
        {{"quillet", "-style", "Fusion", "-platform", "offscreen"}, "", "", false, false, false},
        {{"quillet", "--settings-dir"}, "", "", false, false, true},
        {{"quillet", "--settings-dir", ""}, "/tmp/env", "", false, false, true},
        {{"quillet", "--help"}, "", "", true, false, false},
        {{"quillet", "--version"}, "", "", false, true, false},
    };
    for (const Row& row : rows) {
        const TStartOptions options = ParseStartOptions(row.arguments, row.variable);
        const QString what = row.arguments.join(' ');
        EXPECT_EQ(options.SettingsDir, row.settingsDir) << what.toStdString();
        EXPECT_EQ(options.Help, row.help) << what.toStdString();
        EXPECT_EQ(options.Version, row.version) << what.toStdString();
        EXPECT_EQ(!options.Error.isEmpty(), row.error)
            << what.toStdString() << ": " << options.Error.toStdString();
    }
    EXPECT_TRUE(ParseStartOptions({"quillet"}, "").HelpText.startsWith("Usage: quillet"));
}

TEST(StartOptions, OwnFolderHoldsEverything) {
    QTemporaryDir temp;
    const QString folder = QDir(temp.path()).filePath("not/yet");
    const TSettingsLocation location = ChooseSettingsLocation(folder);
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(location.AppDir, QDir::toNativeSeparators(folder).toStdString() + "/");
    EXPECT_EQ(location.StoreFile, QDir(folder).filePath("Quillet.conf"));
    EXPECT_EQ(location.LockFolder, folder);
}

} // namespace quillet::test
