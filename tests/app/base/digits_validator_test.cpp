#include "app/base/DigitsValidator.h"

#include <gtest/gtest.h>

using namespace orb;

TEST(DigitsValidator, TakesDigitsAndALeadingMinusWhereAllowed)
{
    using Sign = DigitsValidator::Sign;
    struct Case {
        const char* text;
        Sign sign;
        QValidator::State state;
    };
    const Case cases[] = {
        {"", Sign::None, QValidator::Acceptable},
        {"0123456789", Sign::None, QValidator::Acceptable},
        {"-", Sign::None, QValidator::Invalid},
        {"-5", Sign::None, QValidator::Invalid},
        {"+5", Sign::None, QValidator::Invalid},
        {"5 ", Sign::None, QValidator::Invalid},
        {"1e3", Sign::None, QValidator::Invalid},
        {"-", Sign::MinusAllowed, QValidator::Acceptable},
        {"-127", Sign::MinusAllowed, QValidator::Acceptable},
        {"--1", Sign::MinusAllowed, QValidator::Invalid},
        {"1-", Sign::MinusAllowed, QValidator::Invalid},
        {"+1", Sign::MinusAllowed, QValidator::Invalid},
    };
    for (const Case& c : cases) {
        DigitsValidator v(c.sign, nullptr);
        QString text = QString::fromLatin1(c.text);
        int pos = int(text.size());
        EXPECT_EQ(v.validate(text, pos), c.state) << c.text;
    }
    // Digits of other scripts are not ASCII digits.
    DigitsValidator v(Sign::None, nullptr);
    for (const char16_t* other : {u"\u0663", u"\uFF11", u"\u00B2"}) {
        QString text = QString::fromUtf16(other);
        int pos = 1;
        EXPECT_EQ(v.validate(text, pos), QValidator::Invalid);
    }
}
