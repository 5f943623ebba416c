#pragma once
// The engineering page's own texts: a fixed two-column table (English,
// Simplified Chinese) chosen once at start by the system locale, never by
// the language buttons; the hints of its controls; the pass phrase dialog.
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace orb
{

// Columns of the table: 0 English, 2 Simplified Chinese; 1 is empty and
// never chosen.
inline constexpr int EngineerColumnEnglish = 0;
inline constexpr int EngineerColumnChinese = 2;

// Every text-bearing control of the engineering page uses this font.
inline const QString EngineerFontName = QStringLiteral("MS Sans Serif");

struct EngineerTextRecord {
    int id;
    std::array<const char*, 3> texts; // UTF-8, by column
};
// The records in table order.
const std::vector<EngineerTextRecord>& EngineerTexts();

// EngineerColumn for a system locale: Chinese for Chinese as spoken in the
// People's Republic of China, English for every other locale.
int EngineerColumnFor(const QLocale& locale);

// EngineerText: the text of the first record with the id, in the column;
// nothing for an id without a record or a column outside 0..2 (the
// receiving caption then keeps its text).
std::optional<QString> EngineerText(int id, int column);
// Texts of `count` consecutive ids from firstId (the items of a list).
QStringList EngineerTextRange(int firstId, int count, int column);

// Where a text goes: a caption (control objectName; tabs by their sheet's
// name) or the items of a list, filled in the order given.
struct EngineerCaption {
    const char* control;
    int id;
};
const std::vector<EngineerCaption>& EngineerCaptions();
struct EngineerList {
    const char* control;
    int firstId;
    int count;
};
const std::vector<EngineerList>& EngineerLists();
// McuModeNames: texts 50..56 in the column.
QStringList EngineerMcuModeNames(int column);

// The hint of a control by objectName; nothing when it has none of its own.
std::optional<QString> EngineerHintOf(const QString& control);
// ShowHint into lbl_Content: chain is the control under the pointer followed
// by its enclosing controls outward (its parents' objectNames). The first
// one with a hint of its own gives it; the empty text when none has one.
QString EngineerHintFor(const QStringList& chain);

// dlgPass.
inline const QString PassDialogCaption = QStringLiteral("Password");
inline const QString PassDialogPrompt = QStringLiteral("PASSWORD:");
inline const QString PassDialogOk = QStringLiteral("OK");
inline const QString PassDialogCancel = QStringLiteral("Cancel");

} // namespace orb
