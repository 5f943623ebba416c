#pragma once
#include <QString>

class QWidget;

namespace orb
{
// The caption of a skinned label, a button, a group box or any control with a
// "text" property; empty for none.
QString captionOf(const QWidget* w);
// Sets that caption; nothing for none.
void setCaption(QWidget* w, const QString& text);
} // namespace orb
