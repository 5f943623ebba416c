// The assignment menu: a cascade of panels opened from a key label or an
// engineering button, whose leaf items assign a function to that button.
#include "app/KeyMenu.h"
#include "app/Captions.h"
#include "app/MainWindow.h"

#include "keys/KeyCodes.h"
#include "keys/MenuPlacement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QtDebug>

namespace orb
{

namespace
{

constexpr int kItemHeight = 24;
constexpr int kPanelHeight = 170; // Pnl_Main and Pnl_Special; the page buttons set it again
constexpr int kArrowWidth = 20;

// Group items of the top level and the submenu each opens (0: none).
struct GroupItem {
    const char* name;
    int tag;
    const char* textKey;
};
constexpr GroupItem kMainItems[] = {
    {"Key_Standard", 1, "Str201"}, {"Key_Special", 2, "Str202"}, {"Key_Media", 3, "Str203"},
    {"Key_WWW", 4, "Str204"},      {"Key_MyPC", 5, "Str207"},    {"Key_Assembly", 0, "Str205"},
    {"Key_Macro", 7, "Str206"},
};
constexpr int kCpiGroupTag = 6;

// Leaf items of each submenu, top to bottom; Pnl_Special starts with the CPI group.
struct PanelItems {
    const char* panel;
    std::initializer_list<const char*> items;
};
const PanelItems kSubmenus[] = {
    {"Pnl_MseKey", {"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5"}},
    {"Pnl_Special",
     {"Key_CPIKey", "Key_Fire", "Key_AIMKey", "Key_LEDMode", "Key_LEDSwitch", "Key_KeyMode", "Key_KeyOff"}},
    {"Pnl_CPIKey", {"Key_CPI", "Key_CPII", "Key_CPID"}},
    {"Pnl_Media",
     {"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack", "Key_VolumePlus", "Key_VolumeMinus",
      "Key_Mute"}},
    {"Pnl_WWW",
     {"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop", "Key_WWWRefresh",
      "Key_WWWFavorites"}},
    {"Pnl_MyPC", {"Key_Computer", "Key_Calculator", "Key_Desktop"}},
};

// Submenus of the first level: one of them shows beside Pnl_Main at a time.
constexpr const char* kFirstLevel[] = {"Pnl_MseKey", "Pnl_Special", "Pnl_Media", "Pnl_WWW", "Pnl_MyPC"};

// Context menus of the macro page; they close with the key menu.
constexpr const char* kMacroPagePopups[] = {"Pnl_PCMacro", "Pnl_DevContent"};

QString rgb(const QColor& c)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString engineerButtonName(KeyMode mode, int key)
{
    return QStringLiteral("btn_Key%1%2").arg(mode == KeyMode::A ? 1 : 2).arg(key, 2, 10, QLatin1Char('0'));
}

// A release of the left button inside the widget.
class ClickFilter : public QObject
{
  public:
    ClickFilter(QObject* parent, std::function<void()> action) : QObject(parent), action_(std::move(action))
    {
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* w = static_cast<QWidget*>(watched);
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint()))
                action_();
        }
        return false;
    }

  private:
    std::function<void()> action_;
};

} // namespace

void OnClick(QWidget* widget, QObject* context, std::function<void()> action)
{
    if (auto* label = qobject_cast<ClickLabel*>(widget))
        QObject::connect(label, &ClickLabel::clicked, context, std::move(action));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QObject::connect(button, &QAbstractButton::clicked, context, std::move(action));
    else if (widget)
        widget->installEventFilter(new ClickFilter(widget, std::move(action)));
}

KeyWidgets::KeyWidgets(MainWindow* window) : QObject(window), window_(window)
{
    setObjectName(QStringLiteral("KeyAssignmentWidgets"));
    qApp->installEventFilter(this);
}

bool KeyWidgets::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::MouseButtonPress || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != window_)
        return false;
    for (QWidget* p = w; p; p = p->parentWidget()) {
        const QString name = p->objectName();
        if (name.startsWith(QLatin1String("Pnl_")) || name == QLatin1String("LB_Name"))
            return false; // inside a menu
    }
    window_->HideAllMenu();
    return false;
}

// --- Building ---

namespace
{

ClickLabel* makeItem(QFrame* panel, const QString& name, int row, int tag)
{
    auto* item = new ClickLabel(panel);
    item->setObjectName(name);
    item->setProperty("tag", tag);
    item->setGeometry(2, 1 + row * kItemHeight, panel->width() - 4, kItemHeight);
    item->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Items paint their own background when highlighted.
    item->setAttribute(Qt::WA_TranslucentBackground, false);
    item->setAttribute(Qt::WA_NoSystemBackground, false);
    return item;
}

QLabel* makeArrow(QFrame* panel, const QString& name, int row)
{
    auto* arrow = new QLabel(panel);
    arrow->setObjectName(name);
    arrow->setText(QStringLiteral(">"));
    arrow->setGeometry(panel->width() - 24, 1 + row * kItemHeight, kArrowWidth, kItemHeight);
    arrow->setAlignment(Qt::AlignCenter);
    // The group item under it takes the pointer.
    arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    return arrow;
}

} // namespace

void MainWindow::buildKeyMenu()
{
    KeyWidgets& ui = *keyUi_;
    const auto makePanel = [&](const char* name, int rows, int width) {
        auto* panel = new QFrame(this);
        panel->setObjectName(QLatin1String(name));
        panel->resize(width, rows == 7 ? kPanelHeight : 2 + rows * kItemHeight);
        panel->hide();
        ui.panels.insert(panel->objectName(), panel);
        return panel;
    };

    QFrame* main = makePanel("Pnl_Main", 7, 190);
    for (int row = 0; row < int(std::size(kMainItems)); ++row) {
        const GroupItem& g = kMainItems[row];
        ClickLabel* item = makeItem(main, QLatin1String(g.name), row, g.tag);
        item->setProperty("textKey", QLatin1String(g.textKey));
        ui.items << item;
        if (g.tag == 0) { // the combination dialog
            connect(item, &ClickLabel::entered, this, [this, item] { KeyStatus_AMouseEnter(item); });
            connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
            connect(item, &ClickLabel::clicked, this, [this] { Key_AssemblyClick(); });
            continue;
        }
        connect(item, &ClickLabel::entered, this, [this, item] { KeyByTagMouseEnter(item); });
        connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
        ui.arrows << makeArrow(main, QStringLiteral("ST_") + QLatin1String(g.name).mid(4), row);
    }

    for (const PanelItems& p : kSubmenus) {
        const bool special = qstrcmp(p.panel, "Pnl_Special") == 0;
        QFrame* panel = makePanel(p.panel, int(p.items.size()), special ? 166 : 154);
        int row = 0;
        for (const char* name : p.items) {
            if (qstrcmp(name, "Key_CPIKey") == 0) {
                ClickLabel* item = makeItem(panel, QLatin1String(name), row, kCpiGroupTag);
                item->setProperty("textKey", QStringLiteral("Str230"));
                ui.items << item;
                connect(item, &ClickLabel::entered, this, [this, item] { KeyByTagMouseEnter(item); });
                connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
                ui.arrows << makeArrow(panel, QStringLiteral("ST_CPIKey"), row);
                ++row;
                continue;
            }
            const MenuItem* leaf = nullptr;
            for (const MenuItem& m : MenuItems())
                if (qstrcmp(m.name, name) == 0)
                    leaf = &m;
            Q_ASSERT(leaf);
            ClickLabel* item = makeItem(panel, QLatin1String(name), row++, leaf->tag);
            item->setProperty("textKey", QLatin1String(leaf->textKey));
            ui.items << item;
            const bool hidesCpi = special || qstrcmp(p.panel, "Pnl_MyPC") == 0;
            connect(item, &ClickLabel::entered, this, [this, item, hidesCpi] {
                hidesCpi ? KeyStatus_BMouseEnter(item) : KeyStatusMouseEnter(item);
            });
            connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
            connect(item, &ClickLabel::clicked, this, [this, item] { KeyStatusOnClick(item); });
        }
    }

    // The macro list is filled from the macro library; its picks are the
    // library's (AssignToMenuTarget applies them).
    ui.macroList = new QListWidget(this);
    ui.macroList->setObjectName(QStringLiteral("LB_Name"));
    ui.macroList->resize(154, kPanelHeight);
    ui.macroList->setFrameShape(QFrame::Box);
    ui.macroList->hide();

    // Captions from the current pack until the language step sets them.
    const TextLookup text = MakeTextLookup(LanguageIndex);
    const QString marker = text(QStringLiteral("Str200"));
    for (ClickLabel* item : ui.items)
        item->setText(QLatin1Char(' ') + marker + QLatin1Char(' ') +
                      text(item->property("textKey").toString()));
}

void MainWindow::ApplyKeyMenuLayout(const LayoutText& section)
{
    if (!keyUi_)
        return;
    KeyWidgets& ui = *keyUi_;
    const auto colour = [&](const char* prefix) {
        const Rgb c = section.colour(QLatin1String(prefix));
        return QColor(c.r, c.g, c.b);
    };
    ui.itemColour = colour("Color_G_");
    ui.panelColour = colour("Color_G_Back_");
    ui.borderColour = colour("Color_G_Border_");
    ui.hoverFontColour = colour("Color_G_SF_");
    ui.hoverBackColour = colour("Color_G_SP_");
    const int fontSize = section.intValue(QStringLiteral("Size_G"));
    const int mainWidth = section.intValue(QStringLiteral("M_L_W"));
    const int specialWidth = section.intValue(QStringLiteral("SP_L_W"));
    const int otherWidth = section.intValue(QStringLiteral("O_L_W"));

    for (QFrame* panel : ui.panels) {
        const QString name = panel->objectName();
        const int width = name == QLatin1String("Pnl_Main")      ? mainWidth
                          : name == QLatin1String("Pnl_Special") ? specialWidth
                                                                 : otherWidth;
        panel->resize(width, panel->height());
        panel->setStyleSheet(QStringLiteral("QFrame#%1 { background-color: %2; border: 1px solid %3; }")
                                 .arg(name, rgb(ui.panelColour), rgb(ui.borderColour)));
        for (auto* item : panel->findChildren<ClickLabel*>(Qt::FindDirectChildrenOnly))
            item->resize(width - 4, item->height());
        for (auto* arrow : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (arrow->objectName().startsWith(QLatin1String("ST_")))
                arrow->move(width - 24, arrow->y());
    }
    const auto sized = [fontSize](QWidget* w) {
        QFont f = w->font();
        f.setPointSize(fontSize);
        w->setFont(f);
    };
    for (ClickLabel* item : ui.items) {
        sized(item);
        KeyStatusMouseLeave(item);
    }
    for (QLabel* arrow : ui.arrows) {
        sized(arrow);
        arrow->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(rgb(ui.itemColour)));
    }
    ui.macroList->resize(otherWidth, ui.macroList->height());
    sized(ui.macroList);
    ui.macroList->setStyleSheet(
        QStringLiteral("QListWidget { color: %1; background-color: %2; border: 1px solid %3; }")
            .arg(rgb(ui.itemColour), rgb(ui.panelColour), rgb(ui.borderColour)));

    // The AIM bar of the advanced page.
    const LayoutPoint steps = section.point(QStringLiteral("AIMKey_Steps_"));
    const int gap = section.intValue(QStringLiteral("AIMKey_Steps_D"));
    for (int n = 1; n <= 11; ++n)
        if (auto* bar = page(2)->findChild<QLabel*>(QStringLiteral("Img_AIMKey_%1").arg(n))) {
            const int width = bar->pixmap().isNull() ? 20 : bar->pixmap().width();
            bar->move(steps.x + (n - 1) * (gap + width), steps.y);
        }
    if (auto* value = page(2)->findChild<QLabel*>(QStringLiteral("lbl_AIMKeyValue"))) {
        const LayoutPoint at = section.point(QStringLiteral("AIMKey_Value_"));
        value->move(at.x, at.y);
        QFont f = value->font();
        f.setPointSize(section.intValue(QStringLiteral("Size_D")));
        value->setFont(f);
        const Rgb c = section.colour(QStringLiteral("Color_D_notSelected_"));
        value->setStyleSheet(QStringLiteral("color: %1;").arg(rgb(QColor(c.r, c.g, c.b))));
    }
}

// --- Opening ---

void MainWindow::ShowPnlMain_OnClick(QWidget* label)
{
    MenuTargetIsEngineer = false;
    MenuTarget = KeyNumberFromName(label->objectName());
    if (IsKeyNumber(MenuTarget))
        SetPicture(QStringLiteral("Img_Key%1").arg(MenuTarget), QStringLiteral("KeyS_01"));
    // The caption goes back to its name; the scrolling forgets it, so that
    // leaving the label later cannot put back a name the pick has replaced.
    if (Scroll.name == label->objectName()) {
        setCaption(label, Scroll.saved);
        Scroll.name.clear();
        if (LabelRun_)
            LabelRun_->setEnabled(false);
    }
    HideAllMenu();
    QFrame* main = keyUi_->panel("Pnl_Main");
    main->move(MainMenuAtLabel(QRect(label->mapTo(this, QPoint(0, 0)), label->size()), main->size(), size()));
    main->show();
    main->raise();
}

void MainWindow::TLShowPnlMain_OnClick(QWidget* button)
{
    MenuTargetIsEngineer = true;
    MenuTarget = ButtonNumberFromName(button->objectName());
    HideAllMenu();
    QFrame* main = keyUi_->panel("Pnl_Main");
    const auto* pages = findChild<QWidget*>(QStringLiteral("Pg_Parameter"));
    const auto* group =
        findChild<QWidget*>(MenuTarget >= 200 ? QStringLiteral("gbKeyMode2") : QStringLiteral("gbKeyMode1"));
    if (pages && group)
        main->move(MainMenuAtEngineerButton(button->geometry(), main->size(), pages->width(),
                                            pages->mapTo(this, QPoint(0, 0)).y(), group->y()));
    else
        main->move(button->mapTo(this, QPoint(10, 0)));
    main->show();
    main->raise();
}

void MainWindow::KeyByTagMouseEnter(QLabel* item)
{
    KeyStatusMouseEnter(item);
    KeyWidgets& ui = *keyUi_;
    const int tag = item->property("tag").toInt();
    QFrame* main = ui.panel("Pnl_Main");
    QFrame* special = ui.panel("Pnl_Special");
    QFrame* cpi = ui.panel("Pnl_CPIKey");
    if (tag == kCpiGroupTag) {
        cpi->move(CpiMenuBesideSpecial(item->geometry(), main->geometry(), special->geometry(), cpi->size(),
                                       size()));
        for (const char* name : {"Pnl_MseKey", "Pnl_Media", "Pnl_WWW", "Pnl_MyPC"})
            ui.panel(name)->hide();
        ui.macroList->hide();
        cpi->show();
        cpi->raise();
        return;
    }
    QWidget* submenu = nullptr;
    switch (tag) {
    case 1:
        submenu = ui.panel("Pnl_MseKey");
        break;
    case 2:
        submenu = special;
        break;
    case 3:
        submenu = ui.panel("Pnl_Media");
        break;
    case 4:
        submenu = ui.panel("Pnl_WWW");
        break;
    case 5:
        submenu = ui.panel("Pnl_MyPC");
        break;
    case 7:
        submenu = ui.macroList;
        break;
    default:
        return;
    }
    // One submenu beside the top level; the CPI panel belongs to the special one.
    for (const char* name : kFirstLevel)
        if (ui.panel(name) != submenu)
            ui.panel(name)->hide();
    if (submenu != ui.macroList)
        ui.macroList->hide();
    cpi->hide();
    submenu->move(
        SubmenuBesideMain(item->geometry(), main->geometry(), special->width(), submenu->size(), size()));
    if (submenu == ui.macroList)
        ui.macroList->setCurrentRow(-1);
    submenu->show();
    submenu->raise();
}

void MainWindow::KeyStatusMouseEnter(QLabel* item)
{
    item->setStyleSheet(QStringLiteral("color: %1; background-color: %2;")
                            .arg(rgb(keyUi_->hoverFontColour), rgb(keyUi_->hoverBackColour)));
}

void MainWindow::KeyStatus_AMouseEnter(QLabel* item)
{
    KeyWidgets& ui = *keyUi_;
    for (const char* name : kFirstLevel)
        ui.panel(name)->hide();
    ui.panel("Pnl_CPIKey")->hide();
    ui.macroList->hide();
    KeyStatusMouseEnter(item);
}

void MainWindow::KeyStatus_BMouseEnter(QLabel* item)
{
    keyUi_->panel("Pnl_CPIKey")->hide();
    KeyStatusMouseEnter(item);
}

void MainWindow::KeyStatusMouseLeave(QLabel* item)
{
    item->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(rgb(keyUi_->itemColour)));
}

void MainWindow::HideAllMenu()
{
    if (!keyUi_)
        return;
    for (QFrame* panel : keyUi_->panels)
        panel->hide();
    keyUi_->macroList->hide();
    for (const char* name : kMacroPagePopups)
        if (auto* popup = findChild<QWidget*>(QLatin1String(name)))
            popup->hide();
    // An item the pointer left while its panel was closing keeps no highlight.
    for (ClickLabel* item : keyUi_->items)
        KeyStatusMouseLeave(item);
}

// --- Picks ---

void MainWindow::KeyStatusOnClick(QLabel* item)
{
    HideAllMenu();
    const QString code = CodeForMenuItem(item->property("tag").toInt(), Keys.AimValue);
    if (code.isEmpty())
        return;
    // The item reads blank, marker, blank, name.
    AssignToMenuTarget(item->text().mid(3), code);
}

bool MainWindow::AssignToMenuTarget(const QString& name, const QString& code)
{
    KeyMode mode = KeyMode::A;
    int key = -1;
    std::array<QWidget*, KeyCount> targets{};
    if (MenuTargetIsEngineer) {
        const auto target = EngineerButtonTarget(MenuTarget);
        if (!target)
            return false;
        mode = target->mode;
        key = target->key;
        for (int k = 1; k <= KeyCount; ++k)
            targets[std::size_t(k - 1)] = findChild<QWidget*>(engineerButtonName(mode, k));
    } else {
        if (!IsKeyNumber(MenuTarget))
            return false;
        mode = EditedKeyMode();
        key = MenuTarget;
        for (std::size_t k = 0; k < KeyCount; ++k)
            targets[k] = keyUi_->labels[k];
    }

    KeyTexts shown;
    for (std::size_t k = 0; k < KeyCount; ++k)
        shown[k] = captionOf(targets[k]);
    const bool accepted = Keys.PickFunction(mode, key, code, name, shown, Slots.leftButtonName);
    QWidget* target = targets[std::size_t(key - 1)];
    setCaption(target, shown[std::size_t(key - 1)]);
    if (target && Scroll.name == target->objectName())
        Scroll.restart(shown[std::size_t(key - 1)]);
    if (!accepted)
        RefreshFormMessagDialog(Slots.keepLeftButton);
    return accepted;
}

void MainWindow::Key_AssemblyClick()
{
    HideAllMenu();
    clock_.pumpEvents();
    CombinationPending = false;
    CombinationText.clear();
    CombinationCode.clear();
    if (OpenCombinationDialog)
        OpenCombinationDialog();
}

void MainWindow::ApplyCombination()
{
    if (!CombinationPending)
        return;
    QWidget* target = nullptr;
    if (MenuTargetIsEngineer) {
        const auto t = EngineerButtonTarget(MenuTarget);
        if (!t)
            return;
        target = findChild<QWidget*>(engineerButtonName(t->mode, t->key));
        Keys.SetKey(t->mode, t->key, CombinationCode);
    } else {
        if (!IsKeyNumber(MenuTarget))
            return;
        target = keyUi_->labels[std::size_t(MenuTarget - 1)];
        Keys.SetKey(EditedKeyMode(), MenuTarget, CombinationCode);
    }
    setCaption(target, CombinationText);
    if (target && Scroll.name == target->objectName())
        Scroll.restart(CombinationText);
}

} // namespace orb
