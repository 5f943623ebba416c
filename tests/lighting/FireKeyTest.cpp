#include "lighting/FireKey.h"

#include "image/SettingsRules.h"

#include <gtest/gtest.h>

using namespace orb;

TEST(FireKey, CountCorrectionsWhileTypingAndOnLeaving)
{
    struct Case {
        QString typed;
        FireCountEdit typing;
        FireCountEdit leaving;
    };
    const Case cases[] = {
        {"1", {"1", -1}, {"2", 0}},
        {"0", {"0", -1}, {"2", 0}}, // 0 is corrected like 1
        {"", {"2", 0}, {"2", 0}},
        {"200", {"127", 125}, {"127", 125}},
        {"128", {"127", 125}, {"127", 125}},
        {"127", {"127", 125}, {"127", 125}},
        {"3", {"3", 1}, {"3", 1}},
        {"12", {"12", 10}, {"12", 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const FireCountEdit typing = EditFireCount(c.typed);
        EXPECT_EQ(typing, c.typing);
        EXPECT_EQ(LeaveFireCount(typing.text), c.leaving);
    }
    EXPECT_EQ(FireCountTextForItem(0), "2");
    EXPECT_EQ(FireCountTextForItem(125), "127");
    EXPECT_EQ(FireCountItems().size(), 126);
}

TEST(FireKey, IntervalCorrectionsInBothFields)
{
    struct Case {
        QString typed;
        QString delayTime1; // Edt_DelayTime1, advanced page
        QString fireTime;   // edt_FireTime, engineering tab
    };
    const Case cases[] = {
        {"", "0", "100"}, {"300", "255", "255"}, {"256", "255", "255"}, {"255", "255", "255"},
        {"0", "0", "0"},  {"-4", "0", "0"},      {"1a", "1", "1"},      {"x", "0", "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(EditDelayTime(c.typed), c.delayTime1);
        EXPECT_EQ(EditFireTime(c.typed), c.fireTime);
        // The mirror takes the corrected text and leaves it as it is, so the
        // two change handlers settle at once.
        EXPECT_EQ(EditFireTime(EditDelayTime(c.typed)), EditDelayTime(c.typed));
    }
}

TEST(FireKey, OnlyDigitsAndBackspaceGetThrough)
{
    for (QChar c : QStringLiteral("0123456789\b"))
        EXPECT_TRUE(FireEditAccepts(c));
    for (QChar c : QStringLiteral("a-+ .x"))
        EXPECT_FALSE(FireEditAccepts(c));
}

TEST(FireKey, CountsAreStoredAsCountMinusOne)
{
    struct Case {
        int count;
        std::uint8_t byte;
    };
    for (const Case c : {Case{2, 1}, Case{3, 2}, Case{127, 126}}) {
        EXPECT_EQ(FireCountByte(c.count), c.byte);
        EXPECT_EQ(FireCountFromByte(c.byte), c.count);
        EXPECT_EQ(FireCountItemFromByte(c.byte), c.count - 2);
    }
    // Bytes no field can show become the nearest count.
    EXPECT_EQ(FireCountFromByte(0), 2);
    EXPECT_EQ(FireCountFromByte(0xFF), 127);

    // The store rule of the list agrees: item index + 1.
    SettingsControls c;
    ParameterABytes a{};
    ParameterBBytes b{};
    FireKeyBytes fire{};
    c.fireCount = LeaveFireCount("3").item;
    c.fireTime = EditDelayTime("300").toInt();
    StoreSettings(c, a, b, fire);
    EXPECT_EQ(fire[FireCountOffset], 2);
    EXPECT_EQ(fire[FireIntervalOffset], 255);
}
