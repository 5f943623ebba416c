#include "lighting/FireKey.h"

#include "lighting/ValueBar.h"

#include <algorithm>

namespace orb
{

namespace
{

FireCountEdit WithItem(const QString& text)
{
    const int v = EditValue(text);
    return {text, v >= FireCountMin && v <= FireCountMax ? v - FireCountMin : -1};
}

} // namespace

FireCountEdit EditFireCount(const QString& text)
{
    if (text.isEmpty())
        return WithItem(QString::number(FireCountMin));
    if (EditValue(text) > FireCountMax)
        return WithItem(QString::number(FireCountMax));
    return WithItem(text);
}

FireCountEdit LeaveFireCount(const QString& text)
{
    const int v = EditValue(text);
    if (v >= 0 && v < FireCountMin)
        return WithItem(QString::number(FireCountMin));
    return EditFireCount(text);
}

QString FireCountTextForItem(int item)
{
    if (item < 0 || item > FireCountMax - FireCountMin)
        return {};
    return QString::number(item + FireCountMin);
}

QStringList FireCountItems()
{
    QStringList items;
    for (int c = FireCountMin; c <= FireCountMax; ++c)
        items << QString::number(c);
    return items;
}

QString IntervalDigits(const QString& text)
{
    bool ok = false;
    text.toInt(&ok);
    if (ok)
        return text;
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

QString EditDelayTime(const QString& typed)
{
    const QString text = IntervalDigits(typed);
    if (text.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    const int v = text.toInt(&ok);
    if (ok && v < 0)
        return QStringLiteral("0");
    if (ok && v > FireIntervalMax)
        return QString::number(FireIntervalMax);
    return text;
}

QString EditFireTime(const QString& typed)
{
    const QString text = IntervalDigits(typed);
    if (text.isEmpty())
        return QStringLiteral("100");
    if (EditValue(text) > FireIntervalMax)
        return QString::number(FireIntervalMax);
    return text;
}

bool FireEditAccepts(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QChar(0x08);
}

std::uint8_t FireCountByte(int count)
{
    return static_cast<std::uint8_t>(std::clamp(count, FireCountMin, FireCountMax) - 1);
}

int FireCountFromByte(std::uint8_t byte)
{
    return std::clamp(byte + 1, FireCountMin, FireCountMax);
}

int FireCountItemFromByte(std::uint8_t byte)
{
    return FireCountFromByte(byte) - FireCountMin;
}

} // namespace orb
