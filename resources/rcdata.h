#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace orb
{
// An embedded data item by its resource name ("lang1", "ORB5610Data_Cfg1", ...);
// nothing when the program carries no item of that name.
std::optional<QByteArray> rcData(const QString& name);
} // namespace orb
