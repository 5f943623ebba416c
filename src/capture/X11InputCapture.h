#pragma once
#include "capture/InputCapture.h"

#include <QByteArray>
#include <memory>

class QSocketNotifier;
struct _XDisplay;

namespace orb
{

// System-wide capture on an X server: XInput 2 raw key and button events of
// all master devices, selected on the root window, so input reaches us
// whichever window has the focus. The events are read on the GUI thread when
// the connection's socket has data (a QSocketNotifier); nothing polls.
// Raw events carry no auto-repeat and a release may come twice: the held-key
// set of InputCapture gives repeats as Held and drops the second release.
// Buttons 1, 2, 3, 8, 9 are left, middle, right, backward, forward; the
// wheel (4-7) and others are ignored. Keys are named as Windows names them
// (KeyVk): by the key, not by the symbol the modifiers select, with the
// keypad's digits while NumLock is on.
class X11InputCapture final : public InputCapture
{
  public:
    // Empty display name: $DISPLAY.
    explicit X11InputCapture(QByteArray displayName = {});
    ~X11InputCapture() override;
    X11InputCapture(const X11InputCapture&) = delete;
    X11InputCapture& operator=(const X11InputCapture&) = delete;

    // Whether an X server answers and offers XInput 2.1 or later (raw events on the root window).
    static bool isAvailable(const QByteArray& displayName = {});

    bool start() override;
    void stop() override;
    bool isRunning() const override { return dpy_ != nullptr; }
    bool isLimited() const override { return false; }
    QString errorText() const override { return error_; }

    // The virtual key of a key by its keycode, from the keymap on `dpy`
    // (VkFromKeyLevels).
    static int KeyVk(_XDisplay* dpy, unsigned keycode, bool numLock);

  private:
    void readEvents();
    // Follows NumLock and keymap changes through XKB's events, which come in
    // order with the raw key events.
    void watchKeyboard();

    QByteArray displayName_;
    _XDisplay* dpy_ = nullptr;
    int xiOpcode_ = 0;
    int xkbEventBase_ = -1;
    unsigned numLockMask_ = 0;
    bool numLock_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    QString error_;
};

} // namespace orb
