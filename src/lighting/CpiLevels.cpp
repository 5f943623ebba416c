#include "lighting/CpiLevels.h"

#include "lighting/ValueBar.h"

#include <algorithm>

namespace orb
{

const std::array<QColor, NamedColourCount> NamedColourTable{
    QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),  QColor(0, 0, 255),
    QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255)};

QString CpiValueTextKey(int index)
{
    return QStringLiteral("Str%1").arg(300 + index);
}

QStringList CpiValueItems()
{
    QStringList items;
    for (int v : CpiValueTable)
        items << QString::number(v);
    return items;
}

QString LedTypeShownFor(PairChoice ledType)
{
    switch (ledType) {
    case PairChoice::First:
        return LedTypeNormal;
    case PairChoice::Second:
        return LedTypeMcu;
    case PairChoice::Neither:
        break;
    }
    return {};
}

ColourCellAction ColourCellActionFor(const QString& ledTypeShown)
{
    if (ledTypeShown == LedTypeNormal)
        return ColourCellAction::NamedDialog;
    if (ledTypeShown == LedTypeMcu)
        return ColourCellAction::SystemPicker;
    return ColourCellAction::None;
}

CpiLevels::CpiLevels() = default;

CpiLevels::Level* CpiLevels::at(int level)
{
    if (level < 1 || level > CpiLevelMax)
        return nullptr;
    return &levels_[static_cast<std::size_t>(level - 1)];
}

const CpiLevels::Level* CpiLevels::at(int level) const
{
    return const_cast<CpiLevels*>(this)->at(level);
}

void CpiLevels::Show(const SettingsControls& c, const QString& ledTypeShown)
{
    // A damaged count would leave a gap in the active range; the nearest
    // valid count keeps the levels contiguous.
    count_ = std::clamp(c.cpiStep + 2, CpiLevelMin, CpiLevelMax);
    current_ = c.currentCpi + 1;
    if (!IsActive(current_))
        current_ = 1;
    const bool rgbSwatch = ledTypeShown == LedTypeMcu;
    for (int n = 1; n <= CpiLevelMax; ++n) {
        Level& l = *at(n);
        const auto i = static_cast<std::size_t>(n - 1);
        const int value = c.cpiValue[i];
        l.value = value >= 0 && value < CpiValueCount ? value : -1;
        const int named = c.cpiColour[i];
        l.named = named >= 0 && named < NamedColourCount ? named : -1;
        for (std::size_t ch = 0; ch < 3; ++ch) {
            const auto& v = c.cpiRgb[i * 3 + ch];
            l.rgb[ch] = v ? std::clamp(*v, 0, 255) : 0;
        }
        l.swatchFromRgb = rgbSwatch;
    }
}

void CpiLevels::FollowLevelCount(const SettingsControls& c)
{
    std::array<bool, CpiLevelMax> fromRgb{};
    for (int n = 1; n <= CpiLevelMax; ++n)
        fromRgb[std::size_t(n - 1)] = at(n)->swatchFromRgb;
    Show(c, QString());
    for (int n = 1; n <= CpiLevelMax; ++n)
        at(n)->swatchFromRgb = fromRgb[std::size_t(n - 1)];
}

void CpiLevels::Store(SettingsControls& c) const
{
    c.cpiStep = count_ - 2;
    c.currentCpi = current_ - 1;
    for (int n = 1; n <= CpiLevelMax; ++n) {
        const Level& l = *at(n);
        const auto i = static_cast<std::size_t>(n - 1);
        c.cpiValue[i] = l.value;
        c.cpiColour[i] = l.named;
        for (std::size_t ch = 0; ch < 3; ++ch)
            c.cpiRgb[i * 3 + ch] = l.rgb[ch];
    }
}

void CpiLevels::SetLevelCount(int count)
{
    if (count < CpiLevelMin || count > CpiLevelMax)
        return;
    count_ = count;
    current_ = count;
}

LevelToggle CpiLevels::ToggleLevel(int level)
{
    if (level == count_ + 1 && level <= CpiLevelMax) {
        count_ = level;
        current_ = level;
        return LevelToggle::Added;
    }
    if (level >= 3 && level == count_) {
        count_ = level - 1;
        if (current_ == level)
            current_ = level - 1;
        return LevelToggle::Removed;
    }
    return LevelToggle::None;
}

bool CpiLevels::SelectCurrent(int level)
{
    if (!IsActive(level))
        return false;
    current_ = level;
    return true;
}

int CpiLevels::Value(int level) const
{
    const Level* l = at(level);
    return l ? l->value : -1;
}

void CpiLevels::SetValue(int level, int index)
{
    if (Level* l = at(level); l && index >= 0 && index < CpiValueCount)
        l->value = index;
}

std::vector<QString> CpiLevels::BarPictures(int level, int dpiLedStatus) const
{
    return orb::BarPictures(CpiValueCount, Value(level) + 1, dpiLedStatus, CpiBarLit, CpiBarDim);
}

int CpiLevels::NamedColour(int level) const
{
    const Level* l = at(level);
    return l ? l->named : -1;
}

void CpiLevels::SetNamedColour(int level, int index)
{
    Level* l = at(level);
    if (!l || index < 0 || index >= NamedColourCount)
        return;
    l->named = index;
    l->swatchFromRgb = false;
}

QString CpiLevels::EditRgb(int level, int channel, const QString& text)
{
    const QString corrected = ClampByteText(text);
    Level* l = at(level);
    if (!l || channel < 0 || channel > 2)
        return corrected;
    const int v = EditValue(corrected);
    if (v >= 0)
        l->rgb[static_cast<std::size_t>(channel)] = v;
    l->swatchFromRgb = true;
    return corrected;
}

QColor CpiLevels::Rgb(int level) const
{
    const Level* l = at(level);
    return l ? QColor(l->rgb[0], l->rgb[1], l->rgb[2]) : QColor();
}

void CpiLevels::SetRgb(int level, const QColor& colour)
{
    Level* l = at(level);
    if (!l || !colour.isValid())
        return;
    l->rgb = {colour.red(), colour.green(), colour.blue()};
    l->swatchFromRgb = true;
}

void CpiLevels::ApplyNamedChoice(int level, int choice)
{
    if (choice >= 0 && choice < NamedColourCount)
        SetNamedColour(level, choice);
}

QColor CpiLevels::Swatch(int level) const
{
    const Level* l = at(level);
    if (!l)
        return {};
    if (l->swatchFromRgb)
        return Rgb(level);
    return l->named >= 0 ? NamedColourTable[static_cast<std::size_t>(l->named)] : QColor();
}

QStringList CpiLevels::CurrentItems() const
{
    QStringList items;
    for (int n = 1; n <= count_; ++n)
        items << QString::number(n);
    return items;
}

QStringList CpiLevels::StepItems()
{
    QStringList items;
    for (int n = CpiLevelMin; n <= CpiLevelMax; ++n)
        items << QString::number(n);
    return items;
}

QString CpiLevels::SelectorPicture(int level) const
{
    return TickPicture(level == current_);
}

} // namespace orb
