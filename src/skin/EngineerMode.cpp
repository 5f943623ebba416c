#include "skin/EngineerMode.h"

namespace orb
{

const QStringList& EngineerHardwareControls()
{
    static const QStringList names{QStringLiteral("gbLEDType"),         QStringLiteral("rb_NorLED"),
                                   QStringLiteral("rb_MCULED"),         QStringLiteral("gbMCULEDControlMode"),
                                   QStringLiteral("rb_MCULED3Control"), QStringLiteral("rb_MCULED6Control"),
                                   QStringLiteral("lbl_SensorOri"),     QStringLiteral("cb_SensorOri")};
    return names;
}

bool EngineerMode::LogoDoubleClick(const AskPassPhrase& ask)
{
    if (unlocked_) {
        unlocked_ = false; // the count stays: the dialog comes again at the next multiple of five
        return false;
    }
    ++clicks_;
    if (clicks_ % LogoClicksPerAsk != 0)
        return false;
    const std::optional<QString> answer = ask ? ask() : std::nullopt;
    if (answer && *answer == EngineerPassPhrase)
        unlocked_ = true;
    return true;
}

} // namespace orb
