// The assignment menu: a cascade of panels opened from a key label or an
// engineering button, whose leaf items assign a function to that button.
#include "app/pages/keys/KeyMenu.h"
#include "app/base/Colours.h"

#include "core/Text.h"
#include "skin/LanguagePack.h"
#include "skin/LayoutText.h"

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

KeyMenu::KeyMenu(QWidget* window, int languageIndex, std::function<void()> hideAllMenu)
    : QObject(window), window_(window), hideAllMenu_(std::move(hideAllMenu))
{
    setObjectName(QStringLiteral("KeyAssignmentWidgets"));
    qApp->installEventFilter(this);
    build(languageIndex);
}

bool KeyMenu::eventFilter(QObject* watched, QEvent* e)
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
    hideAllMenu_();
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
    DescribeControl(item, {ControlRole::MenuItem, {}, {}, {}});
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

void KeyMenu::build(int languageIndex)
{
    const auto makePanel = [&](const char* name, int rows, int width) {
        auto* panel = new QFrame(window_);
        panel->setObjectName(QLatin1String(name));
        panel->resize(width, rows == 7 ? kPanelHeight : 2 + rows * kItemHeight);
        panel->hide();
        panels_.insert(panel->objectName(), panel);
        return panel;
    };

    QFrame* main = makePanel("Pnl_Main", 7, 190);
    for (int row = 0; row < int(std::size(kMainItems)); ++row) {
        const GroupItem& g = kMainItems[row];
        ClickLabel* item = makeItem(main, QLatin1String(g.name), row, g.tag);
        item->setProperty("textKey", QLatin1String(g.textKey));
        items_ << item;
        if (g.tag == 0) { // the combination dialog
            connect(item, &ClickLabel::entered, this, [this, item] { KeyStatus_AMouseEnter(item); });
            connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
            connect(item, &ClickLabel::clicked, this, [this] {
                if (onCombination_)
                    onCombination_();
            });
            continue;
        }
        connect(item, &ClickLabel::entered, this, [this, item] { KeyByTagMouseEnter(item); });
        connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
        arrows_ << makeArrow(main, QStringLiteral("ST_") + QLatin1String(g.name).mid(4), row);
    }

    for (const PanelItems& p : kSubmenus) {
        const bool special = qstrcmp(p.panel, "Pnl_Special") == 0;
        QFrame* panel = makePanel(p.panel, int(p.items.size()), special ? 166 : 154);
        int row = 0;
        for (const char* name : p.items) {
            if (qstrcmp(name, "Key_CPIKey") == 0) {
                ClickLabel* item = makeItem(panel, QLatin1String(name), row, kCpiGroupTag);
                item->setProperty("textKey", QStringLiteral("Str230"));
                items_ << item;
                connect(item, &ClickLabel::entered, this, [this, item] { KeyByTagMouseEnter(item); });
                connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
                arrows_ << makeArrow(panel, QStringLiteral("ST_CPIKey"), row);
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
            items_ << item;
            const bool hidesCpi = special || qstrcmp(p.panel, "Pnl_MyPC") == 0;
            connect(item, &ClickLabel::entered, this, [this, item, hidesCpi] {
                hidesCpi ? KeyStatus_BMouseEnter(item) : KeyStatusMouseEnter(item);
            });
            connect(item, &ClickLabel::left, this, [this, item] { KeyStatusMouseLeave(item); });
            connect(item, &ClickLabel::clicked, this, [this, item] {
                if (onPick_)
                    onPick_(item);
            });
        }
    }

    // The macro list is filled from the macro library; its picks are the
    // library's (AssignToMenuTarget applies them).
    macroList_ = new QListWidget(window_);
    macroList_->setObjectName(QStringLiteral("LB_Name"));
    macroList_->resize(154, kPanelHeight);
    macroList_->setFrameShape(QFrame::Box);
    macroList_->hide();
    KeepCurrentItem(macroList_);

    // Captions from the current pack until the language step sets them.
    const TextLookup text = MakeTextLookup(languageIndex);
    const QString marker = text(QStringLiteral("Str200"));
    for (ClickLabel* item : items_)
        item->setText(QLatin1Char(' ') + marker + QLatin1Char(' ') +
                      text(item->property("textKey").toString()));
}

void KeyMenu::ApplyKeyMenuLayout(const LayoutText& section)
{
    const auto colour = [&](const char* prefix) {
        const Rgb c = section.colour(QLatin1String(prefix));
        return QColor(c.r, c.g, c.b);
    };
    itemColour_ = colour("Color_G_");
    panelColour_ = colour("Color_G_Back_");
    borderColour_ = colour("Color_G_Border_");
    hoverFontColour_ = colour("Color_G_SF_");
    hoverBackColour_ = colour("Color_G_SP_");
    const int fontSize = section.intValue(QStringLiteral("Size_G"));
    const int mainWidth = section.intValue(QStringLiteral("M_L_W"));
    const int specialWidth = section.intValue(QStringLiteral("SP_L_W"));
    const int otherWidth = section.intValue(QStringLiteral("O_L_W"));

    for (QFrame* panel : panels_) {
        const QString name = panel->objectName();
        const int width = name == QLatin1String("Pnl_Main")      ? mainWidth
                          : name == QLatin1String("Pnl_Special") ? specialWidth
                                                                 : otherWidth;
        panel->resize(width, panel->height());
        // Fill and a one-pixel border through the palette (a plain box frame
        // is drawn in the text colour; the items set their own).
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, panelColour_);
        pal.setColor(QPalette::WindowText, borderColour_);
        panel->setPalette(pal);
        panel->setAutoFillBackground(true);
        panel->setFrameStyle(QFrame::Box | QFrame::Plain);
        panel->setLineWidth(1);
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
    for (ClickLabel* item : items_) {
        sized(item);
        KeyStatusMouseLeave(item);
    }
    for (QLabel* arrow : arrows_) {
        sized(arrow);
        setTextColour(arrow, itemColour_);
    }
    macroList_->resize(otherWidth, macroList_->height());
    sized(macroList_);
    macroList_->setStyleSheet(
        QStringLiteral("QListWidget { color: %1; background-color: %2; border: 1px solid %3; }")
            .arg(cssRgb(itemColour_), cssRgb(panelColour_), cssRgb(borderColour_)));
    setScrollBarColours(macroList_, panelColour_, itemColour_);
}

// --- Opening ---

void KeyMenu::openAtLabel(const QWidget* label)
{
    QFrame* main = panel("Pnl_Main");
    main->move(MainMenuAtLabel(QRect(label->mapTo(window_, QPoint(0, 0)), label->size()), main->size(),
                               window_->size()));
    main->show();
    main->raise();
}

void KeyMenu::openAtEngineerButton(const QWidget* button, int target)
{
    QFrame* main = panel("Pnl_Main");
    const auto* pages = window_->findChild<QWidget*>(QStringLiteral("Pg_Parameter"));
    const auto* group = window_->findChild<QWidget*>(target >= 200 ? QStringLiteral("gbKeyMode2")
                                                                   : QStringLiteral("gbKeyMode1"));
    if (pages && group)
        main->move(MainMenuAtEngineerButton(button->geometry(), main->size(), pages->width(),
                                            pages->mapTo(window_, QPoint(0, 0)).y(), group->y()));
    else
        main->move(button->mapTo(window_, QPoint(10, 0)));
    main->show();
    main->raise();
}

void KeyMenu::KeyByTagMouseEnter(QLabel* item)
{
    KeyStatusMouseEnter(item);
    const int tag = item->property("tag").toInt();
    QFrame* main = panel("Pnl_Main");
    QFrame* special = panel("Pnl_Special");
    QFrame* cpi = panel("Pnl_CPIKey");
    if (tag == kCpiGroupTag) {
        cpi->move(CpiMenuBesideSpecial(item->geometry(), main->geometry(), special->geometry(), cpi->size(),
                                       window_->size()));
        for (const char* name : {"Pnl_MseKey", "Pnl_Media", "Pnl_WWW", "Pnl_MyPC"})
            panel(name)->hide();
        macroList_->hide();
        cpi->show();
        cpi->raise();
        return;
    }
    QWidget* submenu = nullptr;
    switch (tag) {
    case 1:
        submenu = panel("Pnl_MseKey");
        break;
    case 2:
        submenu = special;
        break;
    case 3:
        submenu = panel("Pnl_Media");
        break;
    case 4:
        submenu = panel("Pnl_WWW");
        break;
    case 5:
        submenu = panel("Pnl_MyPC");
        break;
    case 7:
        submenu = macroList_;
        break;
    default:
        return;
    }
    // One submenu beside the top level; the CPI panel belongs to the special one.
    for (const char* name : kFirstLevel)
        if (panel(name) != submenu)
            panel(name)->hide();
    if (submenu != macroList_)
        macroList_->hide();
    cpi->hide();
    submenu->move(SubmenuBesideMain(item->geometry(), main->geometry(), special->width(), submenu->size(),
                                    window_->size()));
    if (submenu == macroList_) {
        macroList_->setCurrentRow(-1);
        macroList_->scrollToTop(); // it opens at the first macro
    }
    submenu->show();
    submenu->raise();
}

// Item colours go through the palette: a style sheet per item would be
// parsed and polished again on every pointer move and every menu close.
void KeyMenu::KeyStatusMouseEnter(QLabel* item)
{
    QPalette pal = item->palette();
    pal.setColor(QPalette::WindowText, hoverFontColour_);
    pal.setColor(QPalette::Window, hoverBackColour_);
    item->setPalette(pal);
    item->setAutoFillBackground(true);
    highlighted_ = item;
}

void KeyMenu::KeyStatus_AMouseEnter(QLabel* item)
{
    for (const char* name : kFirstLevel)
        panel(name)->hide();
    panel("Pnl_CPIKey")->hide();
    macroList_->hide();
    KeyStatusMouseEnter(item);
}

void KeyMenu::KeyStatus_BMouseEnter(QLabel* item)
{
    panel("Pnl_CPIKey")->hide();
    KeyStatusMouseEnter(item);
}

void KeyMenu::KeyStatusMouseLeave(QLabel* item)
{
    QPalette pal = item->palette();
    pal.setColor(QPalette::WindowText, itemColour_);
    pal.setColor(QPalette::Window, panelColour_);
    item->setPalette(pal);
    item->setAutoFillBackground(false);
    if (highlighted_ == item)
        highlighted_ = nullptr;
}

void KeyMenu::HideAllMenu()
{
    for (QFrame* panel : panels_)
        panel->hide();
    macroList_->hide();
    // An item the pointer left while its panel was closing keeps no highlight.
    if (highlighted_)
        KeyStatusMouseLeave(highlighted_);
}

} // namespace orb
