#include "skin/LayoutKeys.h"

#include <QHash>

namespace orb
{

namespace
{

void add(QStringList& keys, const QString& prefix, const char* suffixes)
{
    for (const QString& s : QString::fromLatin1(suffixes).split(QLatin1Char(' ')))
        keys.append(prefix + s);
}

void colour(QStringList& keys, const QString& prefix)
{
    add(keys, prefix, "R G B");
}

void xy(QStringList& keys, const QString& prefix)
{
    add(keys, prefix, "X Y");
}

void button(QStringList& keys, const QString& prefix)
{
    add(keys, prefix, "Enable X Y");
}

QHash<QString, QStringList> buildGroups()
{
    QHash<QString, QStringList> g;

    QStringList& a = g[QStringLiteral("A")];
    a << QStringLiteral("Size_A");
    colour(a, QStringLiteral("Color_A_"));
    for (const auto& b : ActionButtonKeys())
        button(a, b.keyPrefix);

    QStringList& b = g[QStringLiteral("B")];
    b << QStringLiteral("Size_B");
    colour(b, QStringLiteral("Color_B_"));
    b << QStringLiteral("Btn_Space_F") << QStringLiteral("Btn_Space_B");
    for (const auto& k : PageButtonKeys())
        button(b, k.keyPrefix);

    QStringList& c = g[QStringLiteral("C")];
    c << QStringLiteral("Size_C");
    colour(c, QStringLiteral("Color_C_"));
    xy(c, QStringLiteral("P1_"));
    for (int n = 1; n <= 9; ++n)
        button(c, QStringLiteral("Key%1_").arg(n));
    button(c, QStringLiteral("ComboKey1_"));
    button(c, QStringLiteral("ComboKey2_"));

    QStringList& gm = g[QStringLiteral("G")];
    gm << QStringLiteral("Size_G");
    for (const char* p : {"Color_G_", "Color_G_Back_", "Color_G_Border_", "Color_G_SF_", "Color_G_SP_"})
        colour(gm, QLatin1String(p));
    gm << QStringLiteral("M_L_W") << QStringLiteral("SP_L_W") << QStringLiteral("O_L_W");

    QStringList& d = g[QStringLiteral("D")];
    d << QStringLiteral("Size_D");
    for (const char* p : {"Color_D_Selected_", "Color_D_notSelected_", "Color_D_Back_", "Color_D_Border_"})
        colour(d, QLatin1String(p));
    for (const char* p : {"P2_", "FKCnt_", "FKDelay_"})
        xy(d, QLatin1String(p));
    for (const char* p : {"Spd_", "DbSpd_", "ScrSpd_"})
        add(d, QLatin1String(p), "X Y D");
    xy(d, QStringLiteral("IsControl_"));
    xy(d, QStringLiteral("IsScreen_"));
    for (int n = 1; n <= 7; ++n) {
        const QString row = QStringLiteral("DPI%1_").arg(n);
        xy(d, row + QStringLiteral("Color_"));
        xy(d, row + QStringLiteral("Check_"));
        xy(d, row);
        xy(d, row + QStringLiteral("Value_"));
        add(d, row + QStringLiteral("Steps_"), "X Y D");
    }
    xy(d, QStringLiteral("AIMKey_"));
    xy(d, QStringLiteral("AIMKey_Value_"));
    add(d, QStringLiteral("AIMKey_Steps_"), "X Y D");

    QStringList& e = g[QStringLiteral("E")];
    e << QStringLiteral("Size_E");
    colour(e, QStringLiteral("Color_E_"));
    xy(e, QStringLiteral("P3_"));
    for (const char* p : {"LEDOn_", "LEDOff_", "MCPIOn_", "MCPIOff_", "LEDSwitchOn_", "LEDSwitchOff_",
                          "SaveKeyMode_", "NoSaveKeyMode_"})
        xy(e, QLatin1String(p));
    for (int n = 1; n <= 7; ++n)
        xy(e, QStringLiteral("MCULEDMode%1_").arg(n));
    add(e, QStringLiteral("MCULEDNum_"), "X Y D");
    add(e, QStringLiteral("MCULEDStep_"), "X Y D");
    xy(e, QStringLiteral("KeyMode1_"));
    xy(e, QStringLiteral("KeyMode2_"));

    QStringList& f = g[QStringLiteral("F")];
    f << QStringLiteral("Size_F");
    for (const char* p : {"Color_F_", "Color_F_LBack_", "Color_F_LBorder_", "Color_F_Font_", "Color_F_Back_"})
        colour(f, QLatin1String(p));
    xy(f, QStringLiteral("P4_"));
    add(f, QStringLiteral("PCMacroName_"), "X Y H");
    xy(f, QStringLiteral("MacroContent_"));
    f << QStringLiteral("MacroNameHeight");
    xy(f, QStringLiteral("BtnNew_"));
    xy(f, QStringLiteral("BtnStart_"));
    xy(f, QStringLiteral("DelayTime_"));
    add(f, QStringLiteral("RecDelay_"), "X Y H");
    xy(f, QStringLiteral("DelayEdit_"));
    xy(f, QStringLiteral("ReleaseStop_"));
    xy(f, QStringLiteral("ReleaseContinue_"));
    xy(f, QStringLiteral("Insert_"));
    xy(f, QStringLiteral("InsertList_"));
    add(f, QStringLiteral("InsertRecDelay_"), "X Y H");
    for (const char* p :
         {"InsertDelayEdit_", "InsertAxisEdit_", "InsertBtnStart_", "InsertBtnOK_", "InsertBtnCancel_"})
        xy(f, QLatin1String(p));

    QStringList& k = g[QStringLiteral("K")];
    k << QStringLiteral("Size_K");
    colour(k, QStringLiteral("Color_K_"));
    colour(k, QStringLiteral("Color_K_AK_"));
    xy(k, QStringLiteral("AKT_"));
    add(k, QStringLiteral("AKC_"), "X Y W");
    for (const char* p : {"MK_C_", "MK_S_", "MK_A_", "MK_W_", "AK_Cfm_", "AK_Clear_", "AK_Close_"})
        xy(k, QLatin1String(p));

    QStringList& l = g[QStringLiteral("L")];
    l << QStringLiteral("Size_L");
    colour(l, QStringLiteral("Color_L_"));
    colour(l, QStringLiteral("Color_L_MN_"));
    xy(l, QStringLiteral("MNT_"));
    add(l, QStringLiteral("MNC_"), "X Y W");
    for (const char* p : {"MN_Cfm_", "MN_Clear_", "MN_Close_"})
        xy(l, QLatin1String(p));

    QStringList& n = g[QStringLiteral("NorLED")];
    for (const char* p : {"NorLED_Tte_", "NorLED_Col_", "NorLED_Cfm_", "NorLED_Clear_", "NorLED_Close_"})
        xy(n, QLatin1String(p));

    QStringList& m = g[QStringLiteral("M")];
    m << QStringLiteral("Size_M");
    colour(m, QStringLiteral("Color_M_"));

    return g;
}

const QHash<QString, QStringList>& groups()
{
    static const QHash<QString, QStringList> g = buildGroups();
    return g;
}

} // namespace

const QList<LayoutButtonKeys>& ActionButtonKeys()
{
    static const QList<LayoutButtonKeys> keys = {
        {QStringLiteral("Btn_A1_"), QStringLiteral("Confirm")},
        {QStringLiteral("Btn_A2_"), QStringLiteral("Apply")},
        {QStringLiteral("Btn_A8_"), QStringLiteral("Read")},
        {QStringLiteral("Btn_A3_"), QStringLiteral("Confirm1")},
        {QStringLiteral("Btn_A5_"), QStringLiteral("Confirm2")},
        {QStringLiteral("Btn_A6_"), QStringLiteral("Confirm3")},
        {QStringLiteral("Btn_A7_"), QStringLiteral("Mini")},
        {QStringLiteral("Btn_A4_"), QStringLiteral("Exit")},
    };
    return keys;
}

const QList<LayoutButtonKeys>& PageButtonKeys()
{
    static const QList<LayoutButtonKeys> keys = {
        {QStringLiteral("Btn_B1_"), QStringLiteral("Main")},
        {QStringLiteral("Btn_B2_"), QStringLiteral("Second")},
        {QStringLiteral("Btn_B4_"), QStringLiteral("Adv")},
        {QStringLiteral("Btn_B5_"), QStringLiteral("Breath")},
        {QStringLiteral("Btn_B11_"), QStringLiteral("Macro")},
        {QStringLiteral("Btn_B6_"), QStringLiteral("Save")},
        {QStringLiteral("Btn_B7_"), QStringLiteral("Load")},
        {QStringLiteral("Btn_B8_"), QStringLiteral("Lang1")},
        {QStringLiteral("Btn_B9_"), QStringLiteral("Lang2")},
        {QStringLiteral("Btn_B10_"), QStringLiteral("Lang3")},
    };
    return keys;
}

const QStringList& LayoutGroupNames()
{
    static const QStringList names = {
        QStringLiteral("A"), QStringLiteral("B"),      QStringLiteral("C"), QStringLiteral("G"),
        QStringLiteral("D"), QStringLiteral("E"),      QStringLiteral("F"), QStringLiteral("K"),
        QStringLiteral("L"), QStringLiteral("NorLED"), QStringLiteral("M"),
    };
    return names;
}

QStringList LayoutGroupKeys(const QString& group)
{
    return groups().value(group);
}

QStringList AllLayoutKeys()
{
    QStringList all;
    for (const QString& name : LayoutGroupNames())
        all += LayoutGroupKeys(name);
    return all;
}

} // namespace orb
