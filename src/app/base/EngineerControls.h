#pragma once
#include "image/SettingsRules.h"

#include <QString>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace orb
{

// The setting controls of the engineering page, found by name, and the
// settings they hold as one value.
class EngineerControls
{
  public:
    explicit EngineerControls(QWidget* page) : page_(page) {}

    QComboBox* list(const QString& name) const;
    QLineEdit* edit(const QString& name) const;
    QCheckBox* box(const QString& name) const;
    QRadioButton* radio(const QString& name) const;

    PairChoice pair(const QString& first, const QString& second) const;
    void setPair(const QString& first, const QString& second, PairChoice choice) const;
    std::optional<int> number(const QString& name) const;
    void setNumber(const QString& name, const std::optional<int>& value) const;
    int index(const QString& name) const;
    // An index the list does not have leaves it without a selection.
    void setIndex(const QString& name, int i) const;

    // Every setting as the controls hold it.
    SettingsControls ReadControls() const;
    // Names of the key-mode and CPI colour edits, by index into their settings.
    static QString keyModeEdit(std::size_t i);
    static QString cpiRgbEdit(std::size_t i);

  private:
    template <class W> W* find(const QString& name) const;
    QWidget* page_;
};

} // namespace orb
