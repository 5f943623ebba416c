#pragma once
#include "core/Text.h"
#include "image/ConfigImage.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace orb::ctl
{

// Settings in words: named sections of label/value pairs, shown as text
// lines (the typed JSON of show --json comes from SettingsJson).
struct Description {
    using Items = QList<QPair<QString, QString>>;
    QList<QPair<QString, Items>> sections;

    Items& section(const QString& name);
    QStringList lines() const;
};

// The image as the pages show it: the section buffers (split and repaired)
// through the same show rules, key codes by function name in the language
// of `text`, macro slots by name.
Description DescribeImage(const ConfigImage& image, const TextLookup& text);

} // namespace orb::ctl
