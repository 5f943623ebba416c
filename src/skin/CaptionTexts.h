#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace orb
{

// Where the text step of a language application puts the pack's captions.
struct CaptionText {
    QString control;       // name, or name prefix when `copies`
    QString key;           // pack key; empty for a fixed caption
    QString fixed;         // the caption when there is no key
    bool copies = false;   // the four user-page copies "_1".."_4" (control ends in "_")
    int blanks = 0;        // blanks in front of the text
    bool menuItem = false; // assignment-menu label: blank, Str200 marker, blank, text
};

// Every caption of the main window in the order the text step sets them.
const QList<CaptionText>& LanguageCaptionTexts();

// Labels that take the language's font though no caption names them: the key
// captions and assignment names (Key1..Key9, Key_*), the speed, CPI and LED
// marks, and the static texts (ST_*).
bool TakesLanguageFont(const QString& labelName);

// The ten items of CB_Insert, by position.
const QStringList& InsertListKeys();

} // namespace orb
