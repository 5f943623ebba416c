#include "skin/TextSlots.h"

namespace orb
{

QString DeviceLostMessage(const QString& first, const QString& second)
{
    return first + QStringLiteral("\r\r") + second;
}

QString TextSlots::deviceLostMessage() const
{
    return DeviceLostMessage(deviceLostFirst, deviceLostSecond);
}

TextSlots ReadTextSlots(const LanguagePack& pack)
{
    const auto t = [&pack](const char* key) { return pack.text(QLatin1String(key)); };
    TextSlots s;
    s.fontName = t("FontName");
    s.title = t("Title");
    s.noDevice = t("Str020");
    s.deviceLostFirst = t("Str100");
    s.deviceLostSecond = t("Str101");
    s.fileType = t("Str102");
    s.macroLength = t("Str103");
    s.eepromShortage = t("Str104");
    s.duplicateMacro = t("Str106");
    s.identifier = t("Str107");
    s.keepLeftButton = t("Str108");
    s.writeFailure = t("Str109");
    s.leftButtonName = t("Str210");
    s.aimKeyName = t("Str222");
    for (int i = 0; i < static_cast<int>(s.cpiValues.size()); ++i)
        s.cpiValues[i] = pack.text(QStringLiteral("Str%1").arg(300 + i));
    s.record = t("Str400");
    s.stop = t("Str401");
    s.insertOk = t("Str420");
    s.insertStore = t("Str421");
    s.clearMacroQuestion = t("Str430");
    return s;
}

} // namespace orb
