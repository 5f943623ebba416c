#pragma once
#include <QString>

namespace orb
{

// Scrolling of the caption under the pointer: one per window. Entering a
// skinned label remembers it; every step of the 200 ms timer rotates the
// working text left by one character, after a gap of four blanks has been
// appended on the first step; leaving puts the saved caption back.
struct CaptionScroll {
    QString name;    // label last entered
    QString saved;   // its caption when entered
    QString working; // the text shown while scrolling
    int ticks = 0;

    void enter(const QString& label, const QString& caption)
    {
        name = label;
        saved = caption;
        working = caption;
        ticks = 0;
    }
    // A new caption for the remembered label (after a language switch):
    // scrolling starts over with it and leaving restores it.
    void restart(const QString& caption)
    {
        saved = caption;
        working = caption;
        ticks = 0;
    }
    // One step; returns the text to show.
    const QString& step();
};

} // namespace orb
