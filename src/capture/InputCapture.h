#pragma once
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>

namespace orb
{

// A key notification as the recorder takes it: 0 = first press of a key that
// was not held, 2 = key-down of a key already held, 1 = release.
enum class KeyState : std::uint8_t { Down = 0, Up = 1, Held = 2 };

enum class MouseButton { Left, Middle, Right, Backward, Forward };

// `timeMs` is a millisecond tick of the capture's own source (the X server's
// time, or the window system's event time); only differences between events
// of one capture mean anything.
struct CapturedKey {
    int vk; // Windows virtual-key code; 0 for a key that has none
    KeyState state;
    std::uint32_t timeMs;
    bool operator==(const CapturedKey&) const = default;
};

struct CapturedButton {
    MouseButton button;
    bool down;
    std::uint32_t timeMs;
    bool operator==(const CapturedButton&) const = default;
};

// Keyboard and mouse-button input for macro recording. Events are delivered
// on the Qt GUI thread, one at a time, in the order they happened, only while
// the capture runs; between events nothing runs.
class InputCapture
{
  public:
    using KeyHandler = std::function<void(const CapturedKey&)>;
    using ButtonHandler = std::function<void(const CapturedButton&)>;

    virtual ~InputCapture() = default;

    void setKeyHandler(KeyHandler handler) { onKey_ = std::move(handler); }
    void setButtonHandler(ButtonHandler handler) { onButton_ = std::move(handler); }

    // Starts delivering; false (with errorText()) when the capture cannot run.
    // Starting a running capture changes nothing.
    virtual bool start() = 0;
    // Stops delivering; keys held at that moment are forgotten.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // True when only input to the program's own windows is seen (no X server).
    virtual bool isLimited() const = 0;
    virtual QString errorText() const { return {}; }

  protected:
    // A physical key went down or up. `code` identifies the physical key
    // (keycode, scan code); the held set turns repeated downs into Held and
    // drops a release of a key that is not held (some sources report it twice).
    void keyDown(int code, int vk, std::uint32_t timeMs);
    void keyUp(int code, int vk, std::uint32_t timeMs);
    void button(MouseButton which, bool down, std::uint32_t timeMs);
    void forgetHeldKeys() { held_.clear(); }

  private:
    KeyHandler onKey_;
    ButtonHandler onButton_;
    std::set<int> held_;
};

// The best capture the running session offers: the X server's raw input
// (system-wide) when there is one, otherwise the program's own windows.
std::unique_ptr<InputCapture> CreateInputCapture();

} // namespace orb
