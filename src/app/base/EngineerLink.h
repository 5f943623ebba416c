#pragma once
#include <QString>

#include <functional>

class QWidget;

namespace orb
{

// What the advanced and lighting pages see of the engineering tab: the page
// whose controls hold the settings (read through EngineerControls), the LED
// type it shows, and its CPI step change. Given by the engineering page, so
// the two pages need not know it.
struct EngineerLink {
    QWidget* controls = nullptr;
    std::function<QString()> ledTypeShown;
    std::function<void()> cpiStepChange;
};

} // namespace orb
