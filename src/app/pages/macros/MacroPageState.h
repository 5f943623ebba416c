#pragma once
#include <cstdint>
#include <functional>

namespace orb
{

// What the macro page is doing, in one place: which library macro is open,
// whether a recording runs (and of which kind), whether the insert panel is
// open. Every handler that changes a record asks this owner for its target,
// and the page's widgets are shown from it (the library list's selection, the
// enabled states), never read back as the truth.
//
// While a recording runs the owner refuses every change of the open macro
// and every edit, so the recording's lines can land only in the macro it was
// started on.
class MacroPageState
{
  public:
    // One opening of a library entry. `serial` tells it from the entry that
    // takes the same number after a delete or after another was opened.
    struct OpenMacro {
        int entry = -1;
        std::uint64_t serial = 0;
        bool operator==(const OpenMacro&) const = default;
    };
    enum class Recording { None, Normal, Insert };

    // Called after every change, so the page can show it.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    const OpenMacro& openMacro() const { return open_; }
    // The open library entry; -1 for none.
    int openEntry() const { return open_.entry; }
    // `m` is still the open macro: nothing else was opened since.
    bool isOpen(const OpenMacro& m) const { return m.entry >= 0 && m == open_; }

    Recording recording() const { return recording_; }
    bool recordingRuns() const { return recording_ != Recording::None; }
    bool insertRecording() const { return recording_ == Recording::Insert; }
    bool insertPanelOpen() const { return insertPanel_; }
    // The script, the library and the selection may change: no recording runs.
    bool mayEdit() const { return recording_ == Recording::None; }

    // Opens entry k (-1: none). Refused (false) while a recording runs.
    // Opening the entry already open keeps its serial.
    bool open(int k);
    bool close() { return open(-1); }
    // Starts a recording into the open macro; false when refused (one runs,
    // or no macro is open).
    bool startRecording(Recording kind);
    void stopRecording();
    // Opens or closes the insert panel; refused while a recording runs.
    bool setInsertPanelOpen(bool open);

  private:
    void changed() const;

    OpenMacro open_;
    std::uint64_t lastSerial_ = 0;
    Recording recording_ = Recording::None;
    bool insertPanel_ = false;
    std::function<void()> onChange_;
};

} // namespace orb
