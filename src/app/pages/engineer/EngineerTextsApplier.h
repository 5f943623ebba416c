#pragma once
#include <QLocale>
#include <QStringList>

class QWidget;

namespace orb
{

// ApplyEngineerTexts: once at start-up the engineering page takes the text
// column of the system locale (Simplified Chinese for zh_CN, English for
// every other locale), its font on every text-bearing control, every
// caption of the text table, and its lists cleared and filled afresh with no
// selection. The language buttons never call this again.
struct EngineerTextsApplied {
    int column;               // EngineerColumn
    QStringList mcuModeNames; // McuModeNames in that column
};
EngineerTextsApplied ApplyEngineerTexts(QWidget* page, const QLocale& locale);

} // namespace orb
