#pragma once
#include <QValidator>

namespace orb
{

// Takes ASCII digits only, with one leading minus where a sign is allowed
// ("-" alone is taken, so a negative number can be typed). A plain check of
// its own rather than a regular expression: the edits are built at start, and
// a regular expression there brings the whole matching engine into memory.
class DigitsValidator final : public QValidator
{
  public:
    enum class Sign { None, MinusAllowed };
    explicit DigitsValidator(Sign sign, QObject* parent) : QValidator(parent), sign_(sign) {}

    State validate(QString& input, int& pos) const override;

  private:
    Sign sign_;
};

} // namespace orb
