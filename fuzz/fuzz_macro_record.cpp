// Macro records as they come from the mouse's macro area, a library or a
// file: any 1792 bytes of slots through the slot split and check, each
// record through the decoder. A record the check keeps must decode and stay
// kept; the check must be stable (a second split changes nothing); a record
// it clears is all zero.
#include "macros/MacroCodec.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
void check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One record on its own: the decoder and the check.
    orb::MacroRecord record{};
    std::memcpy(record.data(), data, std::min(size, record.size()));
    const orb::DecodedMacro decoded = orb::DecodeRecord(record);
    check(decoded.script.itemCount() >= 0);
    orb::MacroRecord checked = record;
    const bool cleared = orb::CheckMacroContentBuf(checked);
    if (cleared)
        check(std::all_of(checked.begin(), checked.end(), [](std::uint8_t b) { return b == 0; }));
    else
        check(checked == record);
    // A kept record that decodes whole encodes again within the record's room.
    if (!cleared && decoded.complete && decoded.releaseStop) {
        const orb::EncodeResult again = orb::EncodeScript(decoded.script, *decoded.releaseStop);
        check(again.record[1] <= orb::MaxLengthByte);
    }

    // The macro area: seven slots of name and record.
    orb::MacroAreaBytes area{};
    std::memcpy(area.data(), data, std::min(size, area.size()));
    const orb::DeviceMacros device = orb::ReadAndRefreshMacro(area);
    const QStringList names = orb::DeviceMacroNameList(device);
    check(names.size() == orb::DeviceSlotCount);
    for (const auto& r : device.Records) {
        orb::MacroRecord copy = r;
        check(orb::MacroRecordEmpty(r) || !orb::CheckMacroContentBuf(copy));
        (void)orb::DecodeRecord(r);
    }
    orb::MacroAreaBytes back = area;
    orb::RefreshBaseMacroBuf(device, back);
    const orb::DeviceMacros again = orb::ReadAndRefreshMacro(back);
    check(again.Records == device.Records);
    check(orb::DeviceMacroNameList(again) == names);
    return 0;
}
