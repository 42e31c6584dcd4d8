#include "app/single_instance.h"
#include "tests/support/temp_settings.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
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
