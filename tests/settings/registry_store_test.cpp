#include "settings/registry_store.h"
#include "settings/store_values.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet {
namespace {

class RegistryStore : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath("Quillet.conf"); }
};

TEST_F(RegistryStore, TextValuesSurviveAStoreReopenedLater) {
    const std::string values[] = {
        "act=1,builtin=0,path=/home/me/sounds/ding.wav",
        "-1,-1",
        "a \"quoted\" value; with = and \\ backslash",
        "  leading and trailing spaces  ",
        "caf\xC3\xA9",
        "",
    };
    {
        TRegistryStore store(file());
        for (std::size_t n = 0; n < std::size(values); ++n)
            store.WriteString("Sounds", "Value" + std::to_string(n), values[n]);
        WriteInteger(store, "Layout", "PanelsColor", -2147483633);
    }
    TRegistryStore store(file());
    for (std::size_t n = 0; n < std::size(values); ++n)
        EXPECT_EQ(store.ReadString("Sounds", "Value" + std::to_string(n), "default"), values[n]);
    EXPECT_EQ(ReadInteger(store, "Layout", "PanelsColor", 0), -2147483633);
    EXPECT_EQ(store.ReadString("Sounds", "Missing", "default"), "default");
    EXPECT_EQ(ReadInteger(store, "Options", "MaxLines", 50), 50);
}

TEST_F(RegistryStore, HandWrittenValuesWithCommasReadAsWritten) {
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Sounds]\nSND_NEWMAIL=act=0,builtin=1,path=\n[Options]\nMaxLines=abc\nSortCol=3\n");
    f.close();
    TRegistryStore store(file());
    EXPECT_EQ(store.ReadString("Sounds", "SND_NEWMAIL", ""), "act=0,builtin=1,path=");
    EXPECT_EQ(ReadInteger(store, "Options", "MaxLines", 50), 50);
    EXPECT_EQ(ReadInteger(store, "Options", "SortCol", 5), 3);
}

} // namespace
} // namespace quillet
