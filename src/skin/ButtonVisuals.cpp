#include "skin/ButtonVisuals.h"

namespace orb
{

namespace
{

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// "Img_Key_3" ends in a copy number: a "_" and one digit, after something.
bool endsInCopyNumber(QStringView name, QLatin1StringView prefix)
{
    return name.size() >= prefix.size() + 3 && name.startsWith(prefix) &&
           name[name.size() - 2] == QLatin1Char('_') && isDigit(name.back());
}

// Names are checked by hand, not by regular expressions: they are asked for
// every control at start, and the matching engine would cost half a megabyte.
bool isCopyOf(const QString& label, const char* group)
{
    // "Btn_Apply_3" belongs to "Apply"; the engineering page's "_6" copies too.
    const QLatin1StringView g(group);
    const QStringView n(label);
    return endsInCopyNumber(n, QLatin1StringView("Btn_")) && n.size() == g.size() + 6 &&
           n.mid(4, g.size()) == g;
}

} // namespace

ButtonFamily FamilyOfLabel(const QString& label)
{
    struct Entry {
        const char* group;
        ButtonFamily family;
    };
    static const Entry groups[] = {
        {"Confirm", ButtonFamily::Action},  {"Apply", ButtonFamily::Action},
        {"Read", ButtonFamily::Action},     {"Confirm1", ButtonFamily::Action},
        {"Confirm2", ButtonFamily::Action}, {"Confirm3", ButtonFamily::Action},
        {"Main", ButtonFamily::Page},       {"Second", ButtonFamily::Page},
        {"Adv", ButtonFamily::Page},        {"Breath", ButtonFamily::Page},
        {"Macro", ButtonFamily::Page},      {"Engineer", ButtonFamily::Page},
        {"Save", ButtonFamily::Page},       {"Load", ButtonFamily::Page},
        {"Lang1", ButtonFamily::Language},  {"Lang2", ButtonFamily::Language},
        {"Lang3", ButtonFamily::Language},  {"Exit", ButtonFamily::Exit},
        {"Mini", ButtonFamily::Minimise},   {"Web", ButtonFamily::Web},
    };
    for (const Entry& e : groups)
        if (isCopyOf(label, e.group))
            return e.family;
    if (IsKeyCaptionName(label))
        return ButtonFamily::KeyLabel;
    static const QStringList textButtons = {
        QStringLiteral("Btn_Del"),        QStringLiteral("Btn_Insert"),    QStringLiteral("Btn_Edit"),
        QStringLiteral("Btn_NewMacro"),   QStringLiteral("Btn_ImportOne"), QStringLiteral("Btn_Export"),
        QStringLiteral("Btn_Import"),     QStringLiteral("Btn_ExportOne"), QStringLiteral("Btn_NewName"),
        QStringLiteral("Btn_DelPCMacro"),
    };
    if (textButtons.contains(label))
        return ButtonFamily::TextOnly;
    return ButtonFamily::None;
}

FamilyLook LookOfFamily(ButtonFamily family)
{
    switch (family) {
    case ButtonFamily::Action:
        return {QStringLiteral("BtnS_02"), QStringLiteral("BtnS_01"), true, true, false};
    case ButtonFamily::Page:
    case ButtonFamily::Language:
        return {QStringLiteral("SetS_02"), QStringLiteral("SetS_01"), false, true, false};
    case ButtonFamily::KeyLabel:
        return {QStringLiteral("KeyS_02"), QStringLiteral("KeyS_01"), false, true, false};
    case ButtonFamily::Exit:
        return {QStringLiteral("ExitS_02"), QStringLiteral("ExitS_01"), true, true, false};
    case ButtonFamily::Minimise:
        return {QStringLiteral("MiniS_02"), QStringLiteral("MiniS_01"), true, true, false};
    case ButtonFamily::Web:
        return {QStringLiteral("WebS_03"), QStringLiteral("WebS_01"), true, false, true};
    case ButtonFamily::TextOnly:
    case ButtonFamily::None:
        break;
    }
    return {QString(), QString(), false, false, false};
}

bool IsKeyCaptionName(QStringView name)
{
    return name.size() == 4 && name.startsWith(QLatin1String("Key")) && name[3] >= QLatin1Char('1') &&
           name[3] <= QLatin1Char('9');
}

QString PictureOfLabel(const QString& label)
{
    if (label.startsWith(QLatin1String("Btn_")))
        return QStringLiteral("Img_") + label.mid(4);
    return QStringLiteral("Img_") + label;
}

QStringList CopiesOfPicture(const QString& picture)
{
    if (!endsInCopyNumber(picture, QLatin1StringView("Img_")))
        return {picture};
    const QString stem = picture.chopped(1);
    QStringList copies;
    for (int copy = 1; copy <= 4; ++copy)
        copies << stem + QString::number(copy);
    return copies;
}

const QList<PageOption>& PageOptions()
{
    static const QList<PageOption> options = {
        {QStringLiteral("rb_1"), 1, QStringLiteral("Main"), QStringLiteral("Img_P1"),
         QStringLiteral("_Back1")},
        {QStringLiteral("rb_2"), 1, QStringLiteral("Second"), QStringLiteral("Img_P1"),
         QStringLiteral("_Back1")},
        {QStringLiteral("rb_4"), 2, QStringLiteral("Adv"), QStringLiteral("Img_P2"),
         QStringLiteral("_Back2")},
        {QStringLiteral("rb_5"), 3, QStringLiteral("Breath"), QStringLiteral("Img_P3"),
         QStringLiteral("_Back3")},
        {QStringLiteral("rb_6"), 4, QStringLiteral("Macro"), QStringLiteral("Img_P4"),
         QStringLiteral("_Back4")},
        {QStringLiteral("rb_7"), 6, QStringLiteral("Engineer"), QString(), QString()},
    };
    return options;
}

const PageOption* FindPageOption(const QString& option)
{
    for (const PageOption& o : PageOptions())
        if (o.option == option)
            return &o;
    return nullptr;
}

const QStringList& PageButtonGroups()
{
    static const QStringList groups = {
        QStringLiteral("Main"),  QStringLiteral("Second"),   QStringLiteral("Adv"),  QStringLiteral("Breath"),
        QStringLiteral("Macro"), QStringLiteral("Engineer"), QStringLiteral("Save"), QStringLiteral("Load"),
    };
    return groups;
}

} // namespace orb
