#pragma once
class QKeyEvent;
struct _XDisplay;

namespace orb
{

// The virtual key of a key event of the program's own windows (the key
// dialogs), as Windows names it. On X11 it comes from the server's keymap by
// the event's keycode (X11InputCapture::KeyVk): Shift+1 is the key 1 and
// AZERTY's top row gives the digit keys. Elsewhere, or for a key the keymap
// does not name, from the event's keysym or Qt key.
int VkFromKeyEvent(const QKeyEvent& e);
// The same against the X display `dpy` (null: no keymap).
int VkFromKeyEvent(const QKeyEvent& e, _XDisplay* dpy);

} // namespace orb
