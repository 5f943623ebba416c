#pragma once
#include <functional>

class QLabel;
class QWidget;

namespace orb
{

// The note over the pages that a plugged-in mouse may not be opened, with
// what fixes it. It stays until the mouse is opened or unplugged.
class PermissionHint
{
  public:
    // `language`: the current language index (1..3) when the note is texted.
    PermissionHint(QWidget* window, std::function<int()> language);

    void setShown(bool shown);
    bool shown() const;
    // The note in the current language (after a language change).
    void Retranslate();

  private:
    void place();

    QWidget* window_;
    std::function<int()> language_;
    QLabel* label_;
};

} // namespace orb
