#include "app/store_values.h"
#include "tests/support/temp_settings.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(StoreValues, IntegersAreDecimalOrTheDefault) {
    struct Row {
        const char* stored; // nullptr: no value at all
        std::int32_t expected;
    };
    const Row rows[] = {
        {nullptr, 77},
        {"15", 15},
        {"-2147483633", -2147483633},
        {"+3", 3},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", 77},
        {"99999999999999999999", 77},
        {"", 77},
        {"-", 77},
        {" 15", 77},
        {"15 ", 77},
        {"0x10", 77},
        {"1e3", 77},
        {"abc", 77},
        {"007", 7},
    };
    for (const Row& row : rows) {
        test::TTempSettingsStore store;
        if (row.stored) {
            store.WriteString("Options", "MaxLines", row.stored);
        }
        EXPECT_EQ(ReadInteger(store, "Options", "MaxLines", 77), row.expected)
            << (row.stored ? row.stored : "(missing)");
    }
}

TEST(StoreValues, BooleansAreAnyNonZeroNumber) {
    struct Row {
        const char* stored;
        bool def;
        bool expected;
    };
    const Row rows[] = {
        {nullptr, true, true}, {nullptr, false, false}, {"0", true, false},
        {"1", false, true},    {"2", false, true},      {"-1", false, true},
        {"yes", false, false}, {"yes", true, true},     {"", true, true},
    };
    for (const Row& row : rows) {
        test::TTempSettingsStore store;
        if (row.stored) {
            store.WriteString("Options", "UseTray", row.stored);
        }
        EXPECT_EQ(ReadBool(store, "Options", "UseTray", row.def), row.expected)
            << (row.stored ? row.stored : "(missing)") << " default " << row.def;
    }
}

} // namespace
} // namespace quillet
