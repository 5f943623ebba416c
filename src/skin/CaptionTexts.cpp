#include "skin/CaptionTexts.h"

#include "skin/ButtonVisuals.h"

#include <algorithm>

namespace orb
{

namespace
{

QList<CaptionText> build()
{
    QList<CaptionText> t;
    const auto copies = [&](const char* prefix, const char* key) {
        t.append({QLatin1String(prefix), QLatin1String(key), QString(), true});
    };
    const auto one = [&](const char* control, const char* key, int blanks = 0) {
        t.append({QLatin1String(control), QLatin1String(key), QString(), false, blanks});
    };
    const auto menu = [&](const char* control, const char* key) {
        t.append({QLatin1String(control), QLatin1String(key), QString(), false, 0, true});
    };

    copies("Btn_Confirm_", "Str000");
    copies("Btn_Apply_", "Str001");
    copies("Btn_Read_", "Str017");
    copies("Btn_Confirm1_", "Str002");
    copies("Btn_Confirm2_", "Str015");
    copies("Btn_Confirm3_", "Str016");
    copies("Btn_Main_", "Str004");
    copies("Btn_Second_", "Str005");
    copies("Btn_Adv_", "Str007");
    copies("Btn_Breath_", "Str008");
    copies("Btn_Macro_", "Str014");
    copies("Btn_Save_", "Str009");
    copies("Btn_Load_", "Str010");
    copies("Btn_Lang1_", "Str011");
    copies("Btn_Lang2_", "Str012");
    copies("Btn_Lang3_", "Str013");
    // The same word in every language.
    t.append({QStringLiteral("Btn_Engineer_"), QString(), QStringLiteral("Engineer"), true});

    one("IB_ComboKey1", "Str700", 5);
    one("IB_ComboKey2", "Str701", 5);

    menu("Key_Standard", "Str201");
    menu("Key_Special", "Str202");
    menu("Key_Media", "Str203");
    menu("Key_WWW", "Str204");
    menu("Key_Assembly", "Str205");
    menu("Key_Macro", "Str206");
    menu("Key_MyPC", "Str207");
    menu("Key_Left", "Str210");
    menu("Key_Right", "Str211");
    menu("Key_Middle", "Str212");
    menu("Key_B4", "Str213");
    menu("Key_B5", "Str214");
    menu("Key_Fire", "Str220");
    menu("Key_LEDSwitch", "Str221");
    menu("Key_AIMKey", "Str222");
    menu("Key_KeyOff", "Str224");
    menu("Key_KeyMode", "Str225");
    menu("Key_LEDMode", "Str226");
    menu("Key_CPIKey", "Str230");
    menu("Key_CPI", "Str231");
    menu("Key_CPII", "Str232");
    menu("Key_CPID", "Str233");
    menu("Key_Computer", "Str240");
    menu("Key_Calculator", "Str241");
    menu("Key_EMail", "Str242");
    menu("Key_Desktop", "Str243");
    menu("Key_PlayPause", "Str250");
    menu("Key_Stop", "Str251");
    menu("Key_PreviousTrack", "Str252");
    menu("Key_NextTrack", "Str253");
    menu("Key_VolumePlus", "Str254");
    menu("Key_VolumeMinus", "Str255");
    menu("Key_Mute", "Str256");
    menu("Key_WWWHome", "Str260");
    menu("Key_WWWSearch", "Str261");
    menu("Key_WWWBack", "Str262");
    menu("Key_WWWForward", "Str263");
    menu("Key_WWWStop", "Str264");
    menu("Key_WWWRefresh", "Str265");
    menu("Key_WWWFavorites", "Str266");

    // Macro page.
    one("Btn_Start", "Str400");
    one("Btn_InsertStart", "Str400");
    one("Btn_NewName", "Str402");
    one("Btn_New", "Str432");
    one("Btn_NewMacro", "Str432");
    one("Btn_ExportOne", "Str404");
    one("Btn_Export", "Str405");
    one("Btn_ImportOne", "Str406");
    one("Btn_Import", "Str407");
    one("Btn_Edit", "Str435");
    one("Btn_Del", "Str408");
    one("Btn_Insert", "Str409");
    one("Btn_DelPCMacro", "Str433");
    one("IB_InsertRecDelay", "Str414", 7);
    one("IB_InsertDelayTime", "Str415", 7);
    one("IB_InsertNoDelay", "Str416", 7);
    one("lbl_Delay", "Str417");
    one("lbl_s_A", "Str418");
    one("lbl_XAxisValue", "Str444");
    one("lbl_YAxisValue", "Str445");
    one("lbl_Repeat", "Str448");
    one("Btn_OK", "Str420");
    one("Btn_Cancel", "Str422");
    return t;
}

} // namespace

const QList<CaptionText>& LanguageCaptionTexts()
{
    static const QList<CaptionText> texts = build();
    return texts;
}

const QStringList& InsertListKeys()
{
    static const QStringList keys = {
        QStringLiteral("Str410"), QStringLiteral("Str411"), QStringLiteral("Str412"),
        QStringLiteral("Str413"), QStringLiteral("Str446"), QStringLiteral("Str447"),
        QStringLiteral("Str440"), QStringLiteral("Str441"), QStringLiteral("Str442"),
        QStringLiteral("Str443"),
    };
    return keys;
}

namespace
{
bool digitIn(QChar c, char first, char last)
{
    return c >= QLatin1Char(first) && c <= QLatin1Char(last);
}

// `name` is `prefix` and then one or more ASCII digits.
bool digitsAfter(QStringView name, QLatin1StringView prefix)
{
    if (!name.startsWith(prefix) || name.size() == prefix.size())
        return false;
    return std::all_of(name.begin() + prefix.size(), name.end(),
                       [](QChar c) { return digitIn(c, '0', '9'); });
}
} // namespace

// Checked by hand, not by a regular expression: it runs at start for every
// label, and the matching engine would take half a megabyte of memory for it.
bool TakesLanguageFont(const QString& labelName)
{
    const QStringView n(labelName);
    if (n.startsWith(QLatin1String("Key_")) || n.startsWith(QLatin1String("ST_")))
        return true;
    if (IsKeyCaptionName(n))
        return true;
    for (const char* prefix : {"lbl_Spd", "lbl_DbSpd", "lbl_ScrSpd", "lbl_MCULEDStep_", "lbl_MCULEDNum_"})
        if (digitsAfter(n, QLatin1StringView(prefix)))
            return true;
    // lbl_DPI1..lbl_DPI7, each with or without "Value"
    if (n.startsWith(QLatin1String("lbl_DPI")) && n.size() >= 8 && digitIn(n[7], '1', '7') &&
        (n.size() == 8 || n.mid(8) == QLatin1String("Value")))
        return true;
    return n == QLatin1String("lbl_AIMKey") || n == QLatin1String("lbl_AIMKeyValue");
}

} // namespace orb
