#include "app/pages/macros/MacroPageState.h"

namespace orb
{

bool MacroPageState::open(int k)
{
    if (!mayEdit())
        return false;
    if (k < 0)
        k = -1;
    if (k != open_.entry || k < 0)
        open_ = OpenMacro{k, k < 0 ? 0 : ++lastSerial_};
    changed();
    return true;
}

bool MacroPageState::startRecording(Recording kind)
{
    if (recordingRuns() || kind == Recording::None || open_.entry < 0)
        return false;
    recording_ = kind;
    changed();
    return true;
}

void MacroPageState::stopRecording()
{
    recording_ = Recording::None;
    changed();
}

bool MacroPageState::setInsertPanelOpen(bool open)
{
    if (!mayEdit())
        return false;
    insertPanel_ = open;
    changed();
    return true;
}

void MacroPageState::changed() const
{
    if (onChange_)
        onChange_();
}

} // namespace orb
