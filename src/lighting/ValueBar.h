#pragma once
#include <QString>

#include <vector>

namespace orb
{

// Pictures of a lit and a dim segment: the CPI and AIM bars use "Bar2_",
// the MCU light bars "Bar1_".
inline const QString CpiBarLit = QStringLiteral("Bar2_E");
inline const QString CpiBarDim = QStringLiteral("Bar2_D");
inline const QString LightBarLit = QStringLiteral("Bar1_E");
inline const QString LightBarDim = QStringLiteral("Bar1_D");

// Which segments of a bar are lit, segment 1 at index 0. `chosen` is the
// segment of the value (1..segmentCount; anything else lights nothing).
// DPILED_Status 1 lights only the chosen segment; any other style lights
// segments 1 up to the chosen one.
std::vector<bool> BarSegmentsLit(int segmentCount, int chosen, int dpiLedStatus);

// Picture of every segment, from BarSegmentsLit.
std::vector<QString> BarPictures(int segmentCount, int chosen, int dpiLedStatus, const QString& lit,
                                 const QString& dim);

// The segment (1..labelCount) under which caption label j (1..labelCount)
// stands: Num_Order 0 keeps the captions ascending, 1 runs them from high to
// low while the segments keep their meaning. Values above 1 count as 1,
// negative ones as 0.
int CaptionSegment(int label, int labelCount, int numOrder);

// "Radio" and "tick" pictures of the skinned options.
inline const QString OptionOn = QStringLiteral("RdS_E");
inline const QString OptionOff = QStringLiteral("RdS_D");
inline const QString TickOn = QStringLiteral("CbS_E");
inline const QString TickOff = QStringLiteral("CbS_D");

inline const QString& OptionPicture(bool chosen)
{
    return chosen ? OptionOn : OptionOff;
}
inline const QString& TickPicture(bool ticked)
{
    return ticked ? TickOn : TickOff;
}

// Digits-only edits of a byte value (RGB, breathing step, fire interval):
// the text after the while-typing correction. Empty becomes "0", a value
// above 255 "255"; anything else (including a text that is not a number)
// stays as typed.
QString ClampByteText(const QString& text);

// Integer value of a digits-only edit; -1 when the text is not a number.
int EditValue(const QString& text);

} // namespace orb
