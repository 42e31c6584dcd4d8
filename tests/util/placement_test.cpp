#include "util/placement.h"
#include "util/tools.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(Placement, ApplyPlacementText) {
    const TPlacementRect designed{300, 200, 500, 400};
    struct Row {
        const char* text;
        bool withSize;
        TPlacementRect expected;
    } rows[] = {
        {"-1,-1", true, designed},        // no stored value
        {"0,50", false, designed},        // a left edge of 0 is no position
        {"5,0", false, {5, 0, 500, 400}}, // a top of 0 is
        {"2000,900", false, {1004, 748, 500, 400}},
        {"10,10,0,300", true, {10, 10, 500, 400}}, // a zero width keeps the designed size
        {"10,10,400,0", true, {10, 10, 500, 400}},
        {"10,10,400,300", true, {10, 10, 400, 300}},
        {"10,10,400,300", false, {10, 10, 500, 400}},
        {"-300,40", false, designed}, // secondary display to the left: not restored
        {"40,-300", false, designed},
        {"x,y", false, designed}, // damaged values convert to 0
        {"7,abc", false, {7, 0, 500, 400}},
        {"", false, designed},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ApplyPlacement(r.text, 1024, 768, designed, r.withSize), r.expected) << r.text;
}

TEST(Placement, TextForm) {
    EXPECT_EQ(PlacementText({120, 80, 400, 300}, true), "120,80,400,300");
    EXPECT_EQ(PlacementText({-5, 80, 400, 300}, false), "-5,80");
}

TEST(Tools, ValueChoosers) {
    EXPECT_EQ(IfThenStr(false, "ON", "OFF"), "OFF");
    EXPECT_EQ(IfThenStr(true, "ON", "OFF"), "ON");
    EXPECT_EQ(BoolToBit(true), 1);
    EXPECT_EQ(BoolToBit(false), 0);
    EXPECT_EQ(IfThenInt(true, 3, 4), 3);
}
