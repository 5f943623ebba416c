// Key-function codes as the words of the settings JSON.
#include "ctl/KeyFunctionText.h"

#include <gtest/gtest.h>

#include <random>

using namespace orb;
using namespace orb::ctl;

namespace
{

TEST(KeyFunctionText, EveryCodeReadsBackFromItsWords)
{
    std::mt19937 rng(18);
    for (int type = 0; type <= 0x11; ++type)
        for (int data1 = 0; data1 < 256; ++data1)
            for (const int data2 : {0, int(rng() & 0xFF)}) {
                const KeyFunctionCode code{std::uint8_t(type), std::uint8_t(data1), std::uint8_t(data2)};
                const QString words = KeyFunctionText(code);
                ASSERT_EQ(ParseKeyFunction(words), code) << words.toStdString();
            }
}

TEST(KeyFunctionText, WordsAndTheirCodes)
{
    const struct {
        const char* words;
        const char* code; // empty: refused
    } cases[] = {
        {"Right Key", "010200"},
        {"Fire Key", "0600F0"},
        {"Desktop", "020807"},
        {"Stop", "0300B7"}, // the media key; the browser's is "code 030226"
        {"code 030226", "030226"},
        {"code 0c0101", "0C0101"},
        {"Ctrl+Shift+A", "020304"},
        {"Alt+F4", "02043D"},
        {"Win+", "020800"},
        {"Space bar", "02002C"},
        {"AIM Key 500", "0A0000"},
        {"AIM Key 6400", "0A0A00"},
        {"Macro 1", "060121"},
        {"Macro 7 until release", "0E0721"},
        {"Macro 0", ""},
        {"Macro 8", ""},
        {"AIM Key 700", ""},
        {"Shift+Nothing", ""},
        {"code 12345", ""},
        {"right key", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        const auto code = ParseKeyFunction(QString::fromUtf8(c.words));
        if (!*c.code) {
            EXPECT_FALSE(code);
            continue;
        }
        ASSERT_TRUE(code);
        EXPECT_EQ(BytesToCode(*code), QString::fromLatin1(c.code));
    }
    EXPECT_EQ(KeyFunctionText(CodeToBytes("030226")), "code 030226");
    EXPECT_EQ(KeyFunctionText(CodeToBytes("0E0321")), "Macro 3 until release");
    EXPECT_EQ(KeyFunctionText(CodeToBytes("060150")), "code 060150"); // no slot starts there
    EXPECT_EQ(KeyFunctionText(CodeToBytes("0A0700")), "AIM Key 3200");
}

} // namespace
