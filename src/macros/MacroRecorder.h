#pragma once
#include "macros/MacroScript.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace orb
{

// Key notification states of the keyboard capture.
namespace KeyState
{
inline constexpr int FirstPress = 0; // key-down of a key that was not held
inline constexpr int Release = 1;
inline constexpr int Repeat = 2; // key-down of a key already held (auto-repeat)
} // namespace KeyState

// Keys held down, in the order they were pressed. Turns raw key-downs and
// key-ups into notification states: a held key's further key-downs are
// repeats, and a key-up of a key not held (raw events can report one release
// twice) gives no notification.
class HeldKeys
{
  public:
    // FirstPress or Repeat.
    int keyDown(int vk);
    // Release, or nothing when the key was not held.
    std::optional<int> keyUp(int vk);
    void clear() { keys_.clear(); }
    const std::vector<int>& keys() const { return keys_; }

  private:
    std::vector<int> keys_;
};

// Mouse-button events a recording takes, in the fixed order the worker
// looks at them.
enum class ButtonEvent {
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
    ForwardDown,
    ForwardUp,
    BackwardDown,
    BackwardUp,
};
inline constexpr int ButtonEventCount = 10;

// The mouse-button events between the hook and the recording worker: the
// hook sets a flag per event, the worker takes all set flags in the fixed
// order. A flag set again before the worker took it counts once. The worker
// sleeps until there is something to take, so a recording costs nothing
// between two clicks.
class PendingButtonEvents
{
  public:
    void set(ButtonEvent event);
    // Blocks until an event is pending or stop() is called; returns the
    // pending events in their fixed order and clears them. Empty once stopped.
    std::vector<ButtonEvent> waitAndTake();
    // Without waiting: the pending events, cleared.
    std::vector<ButtonEvent> take();
    // Wakes the worker for good (until reset()).
    void stop();
    // Clears every flag and the stop, for the next recording.
    void reset();
    // Whether a worker sleeps in waitAndTake(), so that only a notify wakes it.
    bool workerWaiting();

  private:
    std::vector<ButtonEvent> takeLocked();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::array<bool, ButtonEventCount> flags_{};
    bool stopped_ = false;
    int waiting_ = 0; // workers inside waitAndTake()
};

// The delay choices a recording reads: the macro page's choice (which also
// builds the header of an empty script) and the insert panel's choice with
// where its lines go.
struct RecordSettings {
    DelayChoice normal;
    DelayChoice insert;
    bool insertAfter = false; // insert kind "after the current line" (else before)
};

// What a notification did to the script.
struct RecordStep {
    int added = 0;      // lines written (pauses and the event)
    int selection = -1; // macro-list item to select when lines were written
    bool stop = false;  // the recording must stop now, as a click on its button would
};

// The recording state and the two paths that write lines: the keyboard
// notifications and the mouse-button events. Time is passed in as a 32-bit
// millisecond tick. The caller serialises the calls: the script and the
// counters are changed by one thread at a time.
//
// Budget: UsedBytes and ByteBudget follow the recorder's visible rules
// (presses refused from 210, or 216 without delays; releases taken below 220;
// stop once above 220). On top of them every event is measured with its pause
// lines against the stored size of the whole script: an event that would take
// the record past MaxEventBytes is never written. A press is then refused; a
// release keeps as much of its pause as fits (so keys and buttons pressed in
// the macro are let go); either way the recording stops.
class MacroRecorder
{
  public:
    static constexpr int Budget = 220;

    explicit MacroRecorder(MacroScript& script) : script_(script) {}

    bool RecordingActive = false;
    bool InsertRecording = false;
    int InsertPos = 0;
    int UsedBytes = 0;
    int ByteBudget = Budget;
    std::optional<std::uint32_t> LastEventTick; // nothing: no event yet in this recording
    bool PressRefused = false;
    bool StopRequested = false;
    // The pointer is over one of the record buttons: its left clicks are the
    // user stopping or starting, not part of the macro.
    bool PointerOnRecordButton = false;

    // Stored event bytes of the script, as EncodeScript will count them.
    int storedBytes() const { return storedBytes_; }

    // Start of a normal recording: empty script with the header of the
    // page's delay choice.
    void StartNormal(const RecordSettings& settings);
    // Start of an insert recording anchored to item anchorItem. storedLength
    // is the length byte of the open macro's record. Refused (false) when the
    // item does not exist or the macro is already as long as the budget.
    bool StartInsert(const RecordSettings& settings, int anchorItem, int storedLength);
    // Either stop. Returns whether it was an insert recording (whose lines
    // are kept unencoded until the insert panel's OK or Cancel).
    bool Stop();

    // One keyboard notification (virtual key, KeyState value).
    RecordStep KeyboardHook1Receive(int vk, int state, std::uint32_t now);
    // Whether the mouse hook should hand this event over now.
    bool TakesButtonEvent(ButtonEvent event) const;
    // One mouse-button event, as the worker takes it: its pauses
    // (RefreshMacroMouseTime) and its line.
    RecordStep MouseButtonEvent(ButtonEvent event, std::uint32_t now);

  private:
    const DelayChoice& activeChoice() const { return InsertRecording ? settings_.insert : settings_.normal; }
    // Pause before the next event in ms, or nothing when none is written;
    // LastEventTick := now when delays are on.
    std::optional<int> takePause(std::uint32_t now);
    // Writes one line at the end or at the insert position.
    void writeLine(const QString& line, RecordStep& step);
    void ensureHeader();

    MacroScript& script_;
    RecordSettings settings_;
    int storedBytes_ = 0;
};

// The pause lines a mouse event gets for a pause of ms: "0 2040" for every
// whole 2040 ms, then the remainder when above 0.
QStringList SplitPause(int ms);

} // namespace orb
