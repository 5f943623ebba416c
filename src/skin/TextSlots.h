#pragma once
#include "skin/LanguagePack.h"

#include <QString>
#include <array>

namespace orb
{

// Texts the main window copies out of the current pack at every language
// application, for the parts that show them later.
struct TextSlots {
    QString fontName;                  // FontName: every later font assignment
    QString title;                     // Title: application (task-bar) title
    QString noDevice;                  // Str020
    QString deviceLostFirst;           // Str100
    QString deviceLostSecond;          // Str101 (empty in packs 1 and 3)
    QString fileType;                  // Str102: profile file of the wrong type
    QString macroLength;               // Str103: kept, not shown by any action
    QString eepromShortage;            // Str104: kept, not shown by any action
    QString duplicateMacro;            // Str106
    QString identifier;                // Str107: vendor or product identifier rejected
    QString keepLeftButton;            // Str108
    QString writeFailure;              // Str109
    QString leftButtonName;            // Str210
    QString aimKeyName;                // Str222
    std::array<QString, 11> cpiValues; // Str300..Str310, CPI value index 0..10
    QString record;                    // Str400: record buttons when idle
    QString stop;                      // Str401: the same buttons while recording
    QString insertOk;                  // Str420
    QString insertStore;               // Str421: OK while a key is being inserted
    QString clearMacroQuestion;        // Str430: kept, not shown by any action

    // The device-lost message: the first part, two carriage returns, the
    // second part (packs 1 and 3 leave the second part empty).
    QString deviceLostMessage() const;
};

// The device-lost message from its two parts ("Str100", "Str101"); the one
// join the window's message and the text slots share.
QString DeviceLostMessage(const QString& first, const QString& second);

// Fills every slot from the pack; absent keys give empty slots.
TextSlots ReadTextSlots(const LanguagePack& pack);

} // namespace orb
