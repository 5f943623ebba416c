#pragma once
#include <QColor>
#include <QString>
#include <optional>

namespace orb
{

// How a message is shown. All three are modal with a single OK button.
enum class MessageStyle {
    PlainBox,      // plain message box with an empty caption
    Dialog,        // message dialog (actions that need a mouse while none is open)
    MessageWindow, // the program's own message window (RefreshFormMessagDialog)
};

// The program's dialogs and desktop services. The real implementation uses
// Qt's dialogs; tests use a double that records what was shown and answers it.
class Services
{
  public:
    virtual ~Services() = default;
    // Shows `text` and returns when the user pressed OK.
    virtual void showMessage(const QString& text, MessageStyle style) = 0;
    // Font family of the program's own message window (the language's font).
    virtual void setMessageFont(const QString& family) = 0;
    // Save / open file dialogs. `filter` is in the form "SaveFile(*.bin)|*.bin".
    // The save dialog asks before overwriting. Nothing when cancelled.
    virtual std::optional<QString> saveFileName(const QString& filter, const QString& suggestedName) = 0;
    virtual std::optional<QString> openFileName(const QString& filter) = 0;
    // The system colour picker; nothing when cancelled.
    virtual std::optional<QColor> pickColour(const QColor& initial) = 0;
    // Opens a web address in the user's browser.
    virtual void openUrl(const QString& url) = 0;
};

} // namespace orb
