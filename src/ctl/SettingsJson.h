#pragma once
// The settings of an image as typed JSON values, and single settings changed
// by path ("cpi.levels.3.cpi") through the same store and show rules the
// pages use.
#include "image/ConfigImage.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace orb::ctl
{

// One row of the schema: a path with N for a 1-based index, the JSON type,
// the values it takes and the image bytes it lives in.
struct SettingField {
    const char* path;
    const char* type;
    const char* allowed;
    const char* bytes;
    bool settable = true;
};
std::span<const SettingField> SettingFields();

// Every path `set` takes, indices spelled out ("cpi.levels.1.cpi" ..).
QStringList SettablePaths();

// The image's settings (from its section buffers) as one typed object.
QJsonObject SettingsJson(const ConfigImage& image);

// A refusal: the exit code (usage or bad file) and a message naming the
// allowed values.
struct SetRefusal {
    int code = 0;
    QString text;
};

using Assignments = QList<QPair<QString, QJsonValue>>;

// "PATH=VALUE": the value is read as JSON when it is JSON (3200, true,
// "Right Key", [..]), else taken as text.
std::optional<SetRefusal> ParseAssignment(const QString& text, Assignments& into);
// Every leaf of a settings document, as assignments; null values (settings
// that do not apply to the image they came from) are left out.
std::optional<SetRefusal> DocumentAssignments(const QJsonObject& doc, Assignments& into);

// Applies all assignments to the image's section buffers and rebuilds
// ImageBuf with the checksums, or refuses and leaves the image as it was.
std::optional<SetRefusal> ApplyAssignments(ConfigImage& image, const Assignments& assignments);
// The paths and each value on their own, as far as they can be judged
// before the image they will change is known (on `base`).
std::optional<SetRefusal> CheckAssignmentValues(const ConfigImage& base, const Assignments& assignments);

} // namespace orb::ctl
