// Command lines as the demo server reads them: keywords in any case, argument counts, numbers
// within 32 bits, and passwords that keep their spaces.
#include "demo/demo_command.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TEST(DemoCommand, Lines) {
    using V = TDemoVerb;
    const struct {
        const char* line;
        TDemoVerb verb;
        const char* argument;
        std::int32_t message, lines;
        bool error;
    } rows[] = {
        {"STAT", V::Stat, "", 0, 0, false},
        {"stat", V::Stat, "", 0, 0, false},
        {"NOOP now", V::Noop, "", 0, 0, true},
        {"LIST", V::List, "", 0, 0, false},
        {"LIST  3 ", V::List, "", 3, 0, false},
        {"LIST 3 4", V::List, "", 3, 0, true},
        {"UIDL x", V::Uidl, "", 0, 0, true},
        {"TOP 2 0", V::Top, "", 2, 0, false},
        {"TOP 2", V::Top, "", 0, 0, true},
        {"TOP 1 -1", V::Top, "", 1, 0, true},
        {"RETR 2147483647", V::Retr, "", 2147483647, 0, false},
        {"RETR 2147483648", V::Retr, "", 0, 0, true},
        {"DELE +1", V::Dele, "", 0, 0, true},
        {"USER demo", V::User, "demo", 0, 0, false},
        {"USER two words", V::User, "", 0, 0, true},
        {"PASS  two words ", V::Pass, " two words ", 0, 0, false},
        {"PASS", V::Pass, "", 0, 0, true},
        {"APOP demo 0123", V::Unknown, "", 0, 0, true},
        {"STATUS", V::Unknown, "", 0, 0, true},
        {"", V::Unknown, "", 0, 0, true},
    };
    for (const auto& row : rows) {
        const TDemoCommand command = ParseDemoCommand(row.line);
        EXPECT_EQ(command.Verb, row.verb) << row.line;
        EXPECT_EQ(command.Error.empty(), !row.error) << row.line << ": " << command.Error;
        if (!row.error) {
            EXPECT_EQ(command.Argument, row.argument) << row.line;
            EXPECT_EQ(command.Message, row.message) << row.line;
            EXPECT_EQ(command.Lines, row.lines) << row.line;
        }
    }
}

} // namespace
} // namespace quillet::test
