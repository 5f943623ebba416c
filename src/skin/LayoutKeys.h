#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace orb
{

// A skinned button of the action group (A) or the page group (B): its keys
// are keyPrefix + "Enable"/"X"/"Y"; its controls are "Btn_" + name + "_" + copy
// lying over "Img_" + name + "_" + copy, copies 1..4.
struct LayoutButtonKeys {
    QString keyPrefix; // "Btn_A2_"
    QString name;      // "Apply"
};

// Group A (confirm, apply, read, restore 1..3, minimise, exit) in the order
// the layout step places them.
const QList<LayoutButtonKeys>& ActionButtonKeys();
// Group B (pages, profiles, languages) in the order the layout step places
// them; the engineer buttons follow the last page button and have no keys.
const QList<LayoutButtonKeys>& PageButtonKeys();

// The layout groups in the order the layout step applies them, then the
// dialog groups: "A", "B", "C", "G", "D", "E", "F", "K", "L", "NorLED" and
// "M" (carried by the texts, taken by no control).
const QStringList& LayoutGroupNames();

// Every key a layout section carries for the group, as written in the texts;
// empty for an unknown group.
QStringList LayoutGroupKeys(const QString& group);

// Every key of every group: what each of [org1]..[org3] must carry.
QStringList AllLayoutKeys();

} // namespace orb
