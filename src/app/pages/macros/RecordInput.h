#pragma once
#include "app/pages/macros/MacroPageDeps.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace orb
{

// The recorder's side of an input capture: key notifications as (virtual
// key, state 0 first press / 1 release / 2 held) and mouse-button events as
// their index in the recorder's fixed order (left down, left up, right down
// ... backward up), each with the capture's millisecond time. The capture is
// made on the first start and kept; its events arrive on the GUI thread.
class RecordInput
{
  public:
    using KeyHandler = std::function<void(int vk, int state, std::uint32_t timeMs)>;
    using ButtonHandler = std::function<void(int buttonEvent, std::uint32_t timeMs)>;

    RecordInput(InputCaptureFactory factory, KeyHandler onKey, ButtonHandler onButton);
    ~RecordInput();
    RecordInput(const RecordInput&) = delete;
    RecordInput& operator=(const RecordInput&) = delete;

    // False (with errorText()) when no capture can run.
    bool start();
    void stop();
    bool isRunning() const;
    // Only the program's own windows are seen (no X server).
    bool isLimited() const;
    QString errorText() const;

  private:
    bool ensureCapture();

    InputCaptureFactory factory_;
    KeyHandler onKey_;
    ButtonHandler onButton_;
    std::unique_ptr<InputCapture> capture_;
};

} // namespace orb
