#include "app/pages/macros/RecordInput.h"

#include "capture/InputCapture.h"

namespace orb
{

namespace
{
// Index of a button event in the recorder's order: left, right, middle,
// forward, backward, each down then up.
int buttonEventIndex(MouseButton button, bool down)
{
    int pair = 0;
    switch (button) {
    case MouseButton::Left:
        pair = 0;
        break;
    case MouseButton::Right:
        pair = 1;
        break;
    case MouseButton::Middle:
        pair = 2;
        break;
    case MouseButton::Forward:
        pair = 3;
        break;
    case MouseButton::Backward:
        pair = 4;
        break;
    }
    return 2 * pair + (down ? 0 : 1);
}
} // namespace

RecordInput::RecordInput(InputCaptureFactory factory, KeyHandler onKey, ButtonHandler onButton)
    : factory_(std::move(factory)), onKey_(std::move(onKey)), onButton_(std::move(onButton))
{
}

RecordInput::~RecordInput()
{
    if (capture_)
        capture_->stop();
}

bool RecordInput::ensureCapture()
{
    if (capture_)
        return true;
    capture_ = factory_ ? factory_() : CreateInputCapture();
    if (!capture_)
        return false;
    capture_->setKeyHandler([this](const CapturedKey& key) {
        if (onKey_)
            onKey_(key.vk, static_cast<int>(key.state), key.timeMs);
    });
    capture_->setButtonHandler([this](const CapturedButton& b) {
        if (onButton_)
            onButton_(buttonEventIndex(b.button, b.down), b.timeMs);
    });
    return true;
}

bool RecordInput::start()
{
    return ensureCapture() && capture_->start();
}

void RecordInput::stop()
{
    if (capture_)
        capture_->stop();
}

bool RecordInput::isRunning() const
{
    return capture_ && capture_->isRunning();
}

bool RecordInput::isLimited() const
{
    return capture_ && capture_->isLimited();
}

QString RecordInput::errorText() const
{
    return capture_ ? capture_->errorText() : QString();
}

} // namespace orb
