#pragma once
// The table behind SettingsJson and ApplyAssignments: one row a setting,
// with how it is read from and changed on the controls, key tables and macro
// slots of an image.
#include "ctl/SettingsJson.h"
#include "image/ConfigImage.h"
#include "image/SettingsRules.h"
#include "macros/MacroCodec.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace orb::ctl::settings
{

// What a change works on: the controls as the show rules fill them, the key
// tables and the macro slots; stored back through the store rules at the end.
struct State {
    SettingsControls c;
    ProfileKeysBytes keys{};
    std::array<QString, DeviceSlotCount> macroNames;
    std::array<std::optional<bool>, DeviceSlotCount> macroStop;
    std::array<QStringList, DeviceSlotCount> macroLines;
    std::array<bool, DeviceSlotCount> macroChanged{};
    bool controlsChanged = false;
};

using Result = std::optional<QString>; // why a value is refused
using Getter = std::function<QJsonValue(const State&, int)>;
using Setter = std::function<Result(State&, int, const QJsonValue&)>;

struct Field {
    SettingField doc;
    int count; // indices 1..count in place of N; 0 without an index
    Getter get;
    Setter set;
    enum Needs { Any, McuLight, SmartLight } needs = Any;
};

const std::vector<Field>& Fields();
// The controls, keys and macros as the show rules fill them from the image.
State StateOf(const ConfigImage& image);
// A path with its index replaced by N, and the index (0 without one).
std::pair<QString, int> Pattern(const QString& path);
const Field* FieldOf(const QString& pattern);

} // namespace orb::ctl::settings
