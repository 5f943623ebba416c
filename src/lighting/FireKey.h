#pragma once
// The fire key's repeat count and interval as the advanced page and the
// engineering tab edit them. Both pages hold the values as text; these are
// the corrections their change and exit handlers make, and the byte rules.
#include <QChar>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace orb
{

inline constexpr int FireCountMin = 2;
inline constexpr int FireCountMax = 127;
inline constexpr int FireIntervalMax = 255; // in units of 8 ms

// The text to leave in Edt_Repeat1 and the item cb_FireCount follows with
// (item index = count - 2; -1: no item while the count is below 2).
struct FireCountEdit {
    QString text;
    int item = -1;
    bool operator==(const FireCountEdit&) const = default;
};

// Edt_Repeat1Change: empty -> "2", 128 or more -> "127". A count below 2 is
// left while typing (the user may be on the way to 10..19).
FireCountEdit EditFireCount(const QString& text);
// RepeatValue_OnClick, leaving Edt_Repeat1: 0 and 1 become "2", so the list
// always has an item and the mouse never gets a count it cannot loop.
FireCountEdit LeaveFireCount(const QString& text);
// cb_FireCountChange: the text Edt_Repeat1 shows for an item.
QString FireCountTextForItem(int item);
// Items of cb_FireCount: "2".."127".
QStringList FireCountItems();

// An interval text that is no number (edt_FireTime takes any character, and
// a paste gets past the key filter) keeps only its digits, so both fields
// show, and Apply stores, one and the same number.
QString IntervalDigits(const QString& text);
// Edt_DelayTime1Change: empty or negative -> "0", 256 or more -> "255";
// edt_FireTime then takes the text.
QString EditDelayTime(const QString& text);
// edt_FireTimeChange: empty -> "100", above 255 -> "255"; Edt_DelayTime1
// then takes the text.
QString EditFireTime(const QString& text);

// Edt_Repeat1KeyPress (also the macro page's edt_Repeat): only the digits
// and Backspace get through.
bool FireEditAccepts(QChar c);

// The loop byte (0x0F2) holds count - 1: the loop body runs byte + 1 times.
std::uint8_t FireCountByte(int count);
// The count a loop byte stands for, kept to 2..127 so both fields can show
// it (a damaged byte becomes the nearest count the fields offer).
int FireCountFromByte(std::uint8_t byte);
// Item of cb_FireCount for a loop byte.
int FireCountItemFromByte(std::uint8_t byte);

} // namespace orb
