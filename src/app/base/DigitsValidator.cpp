#include "app/base/DigitsValidator.h"

namespace orb
{

QValidator::State DigitsValidator::validate(QString& input, int& /*pos*/) const
{
    qsizetype from = 0;
    if (sign_ == Sign::MinusAllowed && input.startsWith(QLatin1Char('-')))
        from = 1;
    for (qsizetype i = from; i < input.size(); ++i)
        if (input[i] < QLatin1Char('0') || input[i] > QLatin1Char('9'))
            return Invalid;
    return Acceptable;
}

} // namespace orb
