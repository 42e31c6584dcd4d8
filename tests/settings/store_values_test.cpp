#include "settings/store_values.h"
#include "tests/support/temp_settings.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// A store holding Options/Value, or nothing at all for nullptr.
struct TStored : test::TTempSettingsStore {
    explicit TStored(const char* Text) {
        if (Text)
            WriteString("Options", "Value", Text);
    }
};

TEST(StoreValues, IntegersAreDecimalOrTheDefault) {
    const std::pair<const char*, std::int32_t> rows[] = {
        {"15", 15},
        {"-2147483633", -2147483633},
        {"+3", 3},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"007", 7},
    };
    for (const auto& [stored, expected] : rows) {
        TStored store(stored);
        EXPECT_EQ(ReadInteger(store, "Options", "Value", 77), expected) << stored;
    }
    for (const char* stored : {static_cast<const char*>(nullptr), "2147483648", "99999999999999999999", "",
                               "-", " 15", "15 ", "0x10", "1e3", "abc"}) {
        TStored store(stored);
        EXPECT_EQ(ReadInteger(store, "Options", "Value", 77), 77) << (stored ? stored : "(missing)");
    }
}

TEST(StoreValues, BooleansAreAnyNonZeroNumber) {
    struct {
        const char* stored; // nullptr: no value at all
        bool def, expected;
    } const rows[] = {
        {nullptr, true, true}, {nullptr, false, false}, {"0", true, false},
        {"1", false, true},    {"2", false, true},      {"-1", false, true},
        {"yes", false, false}, {"yes", true, true},     {"", true, true},
    };
    for (const auto& row : rows) {
        TStored store(row.stored);
        EXPECT_EQ(ReadBool(store, "Options", "Value", row.def), row.expected)
            << (row.stored ? row.stored : "(missing)") << " default " << row.def;
    }
}

} // namespace
} // namespace quillet
