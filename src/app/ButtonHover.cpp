// Page state and page switching, the pointer pictures of the skinned
// buttons, caption scrolling, and the web and minimise buttons.
#include "app/MainWindow.h"

#include "skin/ButtonVisuals.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QRadioButton>

namespace orb
{

namespace
{

constexpr int kLabelRunMs = 200;
constexpr int kMenuPanelHeight = 170;

// Presses on the page backgrounds close the assignment menus; the press
// itself goes on to whatever handles it (dragging the window).
class ClearApFilter final : public QObject
{
  public:
    ClearApFilter(MainWindow* w) : QObject(w), window_(w) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            window_->ClearAP();
        return false;
    }

  private:
    MainWindow* window_;
};

} // namespace

void MainWindow::buildPageState()
{
    // Hidden options: only which one is selected matters. Each set has its
    // own parent so the two sets are exclusive separately.
    auto* pages = new QWidget(this);
    pages->setObjectName(QStringLiteral("PageState"));
    pages->hide();
    for (const PageOption& o : PageOptions()) {
        auto* rb = new QRadioButton(pages);
        rb->setObjectName(o.option);
    }
    findChild<QRadioButton*>(QStringLiteral("rb_1"))->setChecked(true);

    auto* languages = new QWidget(this);
    languages->setObjectName(QStringLiteral("LanguageState"));
    languages->hide();
    for (int n = 1; n <= 3; ++n)
        (new QRadioButton(languages))->setObjectName(QStringLiteral("rb_Lang%1").arg(n));

    LabelRun_ = clock_.createTimer(kLabelRunMs, [this] { LabelRunTimer(); });
    LabelRun_->setEnabled(false);

    // The engineering page's own page buttons select pages like the skinned ones.
    const std::pair<const char*, void (MainWindow::*)()> engineerButtons[] = {
        {"Btn_Main_6", &MainWindow::Btn_Main_0Click},   {"Btn_Switch_6", &MainWindow::Btn_Second_0Click},
        {"Btn_Adv_6", &MainWindow::Btn_Adv_0Click},     {"Btn_Breath_6", &MainWindow::Btn_Breath_0Click},
        {"Btn_Macro_6", &MainWindow::Btn_Macro_0Click}, {"Btn_Engineer_6", &MainWindow::Btn_Engineer_0Click},
    };
    for (const auto& [name, handler] : engineerButtons)
        if (auto* b = findChild<QAbstractButton*>(QLatin1String(name)))
            connect(b, &QAbstractButton::clicked, this, [this, h = handler] { (this->*h)(); });

    auto* clear = new ClearApFilter(this);
    for (const char* name :
         {"gbPage1", "Img_Base_1", "Img_Base_2", "Img_Base_3", "Img_Base_4", "Img_P1", "gbPage6"})
        if (QWidget* w = control(QLatin1String(name)))
            w->installEventFilter(clear);
}

QString MainWindow::PageState() const
{
    for (const PageOption& o : PageOptions())
        if (auto* rb = findChild<QRadioButton*>(o.option); rb && rb->isChecked())
            return o.option;
    return QStringLiteral("rb_1");
}

void MainWindow::SelectPageOption(const QString& option)
{
    if (auto* rb = findChild<QRadioButton*>(option))
        rb->setChecked(true);
}

// --- Page selection ---

namespace
{
void selectPage(MainWindow& w, const QString& option);
}

void MainWindow::Btn_Main_0Click()
{
    selectPage(*this, QStringLiteral("rb_1"));
}

void MainWindow::Btn_Second_0Click()
{
    selectPage(*this, QStringLiteral("rb_2"));
}

void MainWindow::Btn_Adv_0Click()
{
    selectPage(*this, QStringLiteral("rb_4"));
}

void MainWindow::Btn_Breath_0Click()
{
    selectPage(*this, QStringLiteral("rb_5"));
}

void MainWindow::Btn_Macro_0Click()
{
    selectPage(*this, QStringLiteral("rb_6"));
}

void MainWindow::Btn_Engineer_0Click()
{
    selectPage(*this, QStringLiteral("rb_7"));
}

namespace
{

void showMacroBoxes(MainWindow& w)
{
    // The delay box and the insert box share their place on the macro page.
    const bool inserting = w.MacroInsertMode();
    if (auto* box = w.findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        box->setVisible(!inserting);
    for (const char* name : {"Gb_Insert", "Img_InsertBase"})
        if (auto* box = w.findChild<QWidget*>(QLatin1String(name)))
            box->setVisible(inserting);
}

void selectPage(MainWindow& w, const QString& option)
{
    const PageOption* o = FindPageOption(option);
    if (!o)
        return;
    if (!w.link().hasDevice()) {
        w.services().showMessage(w.Slots.noDevice, MessageStyle::Dialog);
        return;
    }
    if (w.NoDeviceUI)
        return;
    w.HideAllMenu();
    w.ButtonTypeB_1IconInit();
    w.SelectPageOption(option);

    const bool keyPage = option == QLatin1String("rb_1") || option == QLatin1String("rb_2");
    if (keyPage)
        if (auto* mode = w.findChild<QComboBox*>(QStringLiteral("cb_KeyMode")))
            mode->setCurrentIndex(option == QLatin1String("rb_1") ? 0 : 1);
    if (keyPage || o->page == 6)
        for (const char* panel : {"Pnl_Main", "Pnl_Special"})
            if (auto* p = w.findChild<QWidget*>(QLatin1String(panel)))
                p->resize(p->width(), kMenuPanelHeight);

    w.showOnlyPage(o->page);
    if (o->page == 6)
        w.FitWindowToEngineerPage();
    else
        w.FitWindowToSkin();

    if (option == QLatin1String("rb_6")) {
        showMacroBoxes(w);
    } else if (option == QLatin1String("rb_1")) {
        w.RefreshProfile1Keys();
    } else if (option == QLatin1String("rb_2")) {
        w.RefreshProfile2Keys();
    } else if (o->page == 6) {
        w.TLRefreshProfile1Keys();
        w.TLRefreshProfile2Keys();
    }

    w.SetGroupPicture(o->group, QStringLiteral("SetS_03"));
    if (!o->overlay.isEmpty())
        w.SetPicture(o->overlay, QStringLiteral("L%1").arg(w.LanguageIndex) + o->backPicture);
}

} // namespace

void MainWindow::ButtonTypeB_1IconInit()
{
    for (const QString& g : PageButtonGroups())
        SetGroupPicture(g, QStringLiteral("SetS_01"));
}

void MainWindow::ShowMainPageSelectors()
{
    SetGroupPicture(QStringLiteral("Main"), QStringLiteral("SetS_03"));
    for (const char* g : {"Second", "Adv", "Breath", "Macro", "Engineer"})
        SetGroupPicture(QLatin1String(g), QStringLiteral("SetS_01"));
}

void MainWindow::RefreshAPPage()
{
    if (NoDeviceUI) {
        showOnlyPage(1);
        return;
    }
    const QString state = PageState();
    if (state == QLatin1String("rb_2"))
        return; // the key page is already the one shown
    const PageOption* o = FindPageOption(state);
    if (!o)
        return;
    showOnlyPage(o->page);
    if (state == QLatin1String("rb_6"))
        showMacroBoxes(*this);
}

void MainWindow::ClearAP()
{
    HideAllMenu();
}

// --- Pointer pictures and caption scrolling ---

void MainWindow::wireButtonVisuals(ClickLabel* label)
{
    if (FamilyOfLabel(label->objectName()) == ButtonFamily::None)
        return;
    connect(label, &ClickLabel::entered, this, [this, label] { ButtonMouseEnter(label); });
    connect(label, &ClickLabel::left, this, [this, label] { ButtonMouseLeave(label); });
}

void MainWindow::ButtonMouseEnter(ClickLabel* label)
{
    const ButtonFamily family = FamilyOfLabel(label->objectName());
    const FamilyLook look = LookOfFamily(family);
    if (family == ButtonFamily::None)
        return;
    if (family == ButtonFamily::TextOnly) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        pal.setColor(QPalette::Window, pal.color(QPalette::Highlight));
        label->setPalette(pal);
        label->setAutoFillBackground(true);
        return;
    }
    if (look.needsMouse && !link().hasDevice())
        return;
    const QString picture = PictureOfLabel(label->objectName());
    if (look.allCopies)
        for (const QString& copy : CopiesOfPicture(picture))
            SetPicture(copy, look.enter);
    else
        SetPicture(picture, look.enter);
    if (!look.scrolls)
        return;
    Scroll.enter(label->objectName(), label->text());
    if (label->isEnabled())
        LabelRun_->setEnabled(true);
}

void MainWindow::ButtonMouseLeave(ClickLabel* label)
{
    const ButtonFamily family = FamilyOfLabel(label->objectName());
    const FamilyLook look = LookOfFamily(family);
    if (family == ButtonFamily::None)
        return;
    if (family == ButtonFamily::TextOnly) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText,
                     QColor(Keep.macroTextColour.r, Keep.macroTextColour.g, Keep.macroTextColour.b));
        pal.setColor(QPalette::Window, QColor(Keep.macroButtonBackColour.r, Keep.macroButtonBackColour.g,
                                              Keep.macroButtonBackColour.b));
        label->setPalette(pal);
        return;
    }
    if (look.needsMouse && !link().hasDevice())
        return;
    if (look.scrolls)
        LabelRun_->setEnabled(false);

    const QString picture = PictureOfLabel(label->objectName());
    if (look.allCopies)
        for (const QString& copy : CopiesOfPicture(picture))
            SetPicture(copy, look.leave);
    else
        SetPicture(picture, look.leave);
    if (family == ButtonFamily::Page && !NoDeviceUI) {
        if (const PageOption* o = FindPageOption(PageState()))
            SetGroupPicture(o->group, QStringLiteral("SetS_03"));
    } else if (family == ButtonFamily::Language) {
        for (int n = 1; n <= 3; ++n)
            if (auto* rb = findChild<QRadioButton*>(QStringLiteral("rb_Lang%1").arg(n));
                rb && rb->isChecked())
                SetGroupPicture(QStringLiteral("Lang%1").arg(n), QStringLiteral("SetS_03"));
    }

    if (look.scrolls)
        if (auto* remembered = qobject_cast<QLabel*>(control(Scroll.name)))
            remembered->setText(Scroll.saved);
}

void MainWindow::LabelRunTimer()
{
    if (TR_Enable != 1)
        return; // the timer keeps running until the pointer leaves
    const QString& text = Scroll.step();
    if (auto* label = qobject_cast<QLabel*>(control(Scroll.name)))
        label->setText(text);
}

// --- Web and minimise ---

void MainWindow::Btn_Web_0Click()
{
    SetGroupPicture(QStringLiteral("Web"), QStringLiteral("WebS_02"));
    if (Web_Enable == 1)
        services().openUrl(Web);
}

void MainWindow::Btn_Minimize_0Click()
{
    // Qt's minimise is the window manager's minimise command.
    showMinimized();
}

} // namespace orb
