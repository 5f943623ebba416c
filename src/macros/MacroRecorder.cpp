#include "macros/MacroRecorder.h"

#include "keys/KeyTable.h"

#include <algorithm>
#include <utility>

namespace orb
{

namespace
{
constexpr int IgnoredVk = 255;
// Room a press leaves for what may follow it: a pause of up to 10200 ms and
// the press itself, or only the press without delays.
constexpr int PressMarginWithDelays = 10;
constexpr int PressMarginNoDelays = 4;
} // namespace

int HeldKeys::keyDown(int vk)
{
    if (std::find(keys_.begin(), keys_.end(), vk) != keys_.end())
        return KeyState::Repeat;
    keys_.push_back(vk);
    return KeyState::FirstPress;
}

std::optional<int> HeldKeys::keyUp(int vk)
{
    const auto it = std::find(keys_.begin(), keys_.end(), vk);
    if (it == keys_.end())
        return std::nullopt;
    keys_.erase(it);
    return KeyState::Release;
}

void PendingButtonEvents::set(ButtonEvent event)
{
    {
        std::lock_guard lock(mutex_);
        flags_[static_cast<std::size_t>(event)] = true;
    }
    wake_.notify_one();
}

std::vector<ButtonEvent> PendingButtonEvents::takeLocked()
{
    std::vector<ButtonEvent> events;
    for (std::size_t i = 0; i < flags_.size(); ++i)
        if (std::exchange(flags_[i], false))
            events.push_back(static_cast<ButtonEvent>(i));
    return events;
}

std::vector<ButtonEvent> PendingButtonEvents::waitAndTake()
{
    std::unique_lock lock(mutex_);
    ++waiting_;
    wake_.wait(lock,
               [&] { return stopped_ || std::find(flags_.begin(), flags_.end(), true) != flags_.end(); });
    --waiting_;
    if (stopped_)
        return {};
    return takeLocked();
}

std::vector<ButtonEvent> PendingButtonEvents::take()
{
    std::lock_guard lock(mutex_);
    return takeLocked();
}

void PendingButtonEvents::stop()
{
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

bool PendingButtonEvents::workerWaiting()
{
    std::lock_guard lock(mutex_);
    return waiting_ > 0;
}

void PendingButtonEvents::reset()
{
    std::lock_guard lock(mutex_);
    flags_.fill(false);
    stopped_ = false;
}

QStringList SplitPause(int ms)
{
    QStringList lines;
    ms = std::max(ms, 0);
    for (int i = 0; i < ms / MaxFixedDelayMs; ++i)
        lines << PauseLine(MaxFixedDelayMs);
    if (ms % MaxFixedDelayMs > 0)
        lines << PauseLine(ms % MaxFixedDelayMs);
    return lines;
}

void MacroRecorder::ensureHeader()
{
    if (script_.isEmpty())
        script_.Lines << MacroScript::Header(settings_.normal);
}

void MacroRecorder::StartNormal(const RecordSettings& settings)
{
    settings_ = settings;
    ByteBudget = Budget;
    script_.clear();
    UsedBytes = 0;
    storedBytes_ = 0;
    StopRequested = false;
    PressRefused = false;
    InsertRecording = false;
    LastEventTick.reset();
    ensureHeader();
    RecordingActive = true;
}

bool MacroRecorder::StartInsert(const RecordSettings& settings, int anchorItem, int storedLength)
{
    ByteBudget = Budget;
    if (RecordingActive || anchorItem < 0 || anchorItem >= script_.itemCount() || storedLength >= Budget)
        return false;
    settings_ = settings;
    UsedBytes = std::max(storedLength, 0);
    storedBytes_ = script_.storedSize();
    StopRequested = false;
    PressRefused = false;
    InsertPos = anchorItem;
    InsertRecording = true;
    LastEventTick.reset();
    RecordingActive = true;
    return true;
}

bool MacroRecorder::Stop()
{
    const bool wasInsert = InsertRecording;
    RecordingActive = false;
    StopRequested = false;
    InsertRecording = false;
    LastEventTick.reset();
    return wasInsert;
}

std::optional<int> MacroRecorder::takePause(std::uint32_t now)
{
    const DelayChoice& choice = activeChoice();
    if (choice.mode == DelayMode::None)
        return std::nullopt;
    std::optional<int> pause;
    if (LastEventTick) {
        if (choice.mode == DelayMode::Recorded)
            pause = static_cast<int>(std::min<std::uint32_t>(now - *LastEventTick, MaxRecordedPauseMs));
        else
            pause = std::clamp(choice.fixedMs, 0, MaxFixedDelayMs);
    }
    LastEventTick = now;
    return pause;
}

void MacroRecorder::writeLine(const QString& line, RecordStep& step)
{
    storedBytes_ += StoredSize(line);
    ++step.added;
    if (!InsertRecording) {
        script_.Lines << line;
        step.selection = script_.itemCount() - 1;
        return;
    }
    const int at =
        std::clamp(InsertPos + (settings_.insertAfter ? 2 : 1), 1, static_cast<int>(script_.Lines.size()));
    script_.Lines.insert(at, line);
    ++InsertPos;
    step.selection = InsertPos;
}

RecordStep MacroRecorder::KeyboardHook1Receive(int vk, int state, std::uint32_t now)
{
    RecordStep step;
    if (!RecordingActive || vk == IgnoredVk)
        return step;
    ensureHeader();
    // The small margin holds when either delay box, the page's or the insert panel's, says no delays.
    const bool noDelays =
        settings_.normal.mode == DelayMode::None || settings_.insert.mode == DelayMode::None;
    const int margin = noDelays ? PressMarginNoDelays : PressMarginWithDelays;

    std::optional<bool> press;
    if (state == KeyState::FirstPress) {
        if (UsedBytes < ByteBudget - margin)
            press = true;
        else
            PressRefused = StopRequested = true;
    } else if (state == KeyState::Release && !PressRefused) {
        if (UsedBytes < ByteBudget)
            press = false;
        else
            StopRequested = true;
    }

    if (press) {
        const QString event = KeyLine(*press, vk);
        const int eventBytes = StoredSize(event);
        const int room = MaxEventBytes - storedBytes_;
        // The pause is measured even when the event goes unwritten, as the
        // next event's pause starts from this one.
        std::optional<int> pause = takePause(now);
        const int pauseBytes = pause ? StoredSize(PauseLine(*pause)) : 0;
        bool write = true;
        if (pauseBytes + eventBytes > room) {
            StopRequested = true;
            if (*press || eventBytes > room) {
                PressRefused = PressRefused || *press;
                write = false;
            } else {
                // Keep the release with as much of its pause as fits.
                const int pairs = (room - eventBytes) / 2;
                pause =
                    pairs > 0 ? std::optional<int>(std::min(*pause, pairs * MaxFixedDelayMs)) : std::nullopt;
            }
        }
        if (write) {
            if (pause) {
                const QString pauseLine = PauseLine(*pause);
                UsedBytes += StoredSize(pauseLine);
                writeLine(pauseLine, step);
            }
            UsedBytes += eventBytes;
            writeLine(event, step);
        }
    }

    step.stop = UsedBytes > ByteBudget || StopRequested;
    return step;
}

bool MacroRecorder::TakesButtonEvent(ButtonEvent event) const
{
    if (!RecordingActive)
        return false;
    const bool left = event == ButtonEvent::LeftDown || event == ButtonEvent::LeftUp;
    return !(left && PointerOnRecordButton);
}

RecordStep MacroRecorder::MouseButtonEvent(ButtonEvent event, std::uint32_t now)
{
    RecordStep step;
    if (!TakesButtonEvent(event))
        return step;
    ensureHeader();
    static constexpr MacroButton buttons[] = {MacroButton::Left, MacroButton::Right, MacroButton::Middle,
                                              MacroButton::Forward, MacroButton::Backward};
    const int index = static_cast<int>(event);
    const bool press = index % 2 == 0;
    const QString line = ButtonLine(press, buttons[index / 2]);

    // RefreshMacroMouseTime: the pause as lines of at most 2040 ms.
    QStringList pauses;
    if (const auto pause = takePause(now))
        pauses = SplitPause(*pause);
    const int room = MaxEventBytes - storedBytes_;
    const int eventBytes = StoredSize(line);
    if (2 * static_cast<int>(pauses.size()) + eventBytes > room) {
        StopRequested = true;
        if (press || eventBytes > room) {
            step.stop = true;
            return step;
        }
        pauses = pauses.mid(0, (room - eventBytes) / 2);
    }
    for (const QString& pauseLine : pauses) {
        UsedBytes += 2;
        writeLine(pauseLine, step);
    }
    UsedBytes += eventBytes;
    writeLine(line, step);
    step.stop = UsedBytes > ByteBudget || StopRequested;
    return step;
}

} // namespace orb
