#pragma once
#include <functional>

class QAccessibleEvent;

namespace orb
{

// Every event the skinned controls tell assistive technology goes through
// here: to QAccessible::updateAccessibility, or to the teller a test puts in
// its place (none: back to Qt's). Without a screen reader Qt drops events
// before any handler sees them.
void TellAccessibility(QAccessibleEvent* event);
void SetAccessibilityTeller(std::function<void(QAccessibleEvent*)> teller);

} // namespace orb
