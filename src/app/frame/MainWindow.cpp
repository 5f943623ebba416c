#include "app/frame/MainWindow.h"

#include "app/base/AppInfo.h"
#include "app/base/ButtonHover.h"
#include "app/base/Captions.h"
#include "app/base/ClickLabel.h"
#include "app/base/ControlAccess.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/base/WindowShape.h"
#include "app/frame/FrameActions.h"
#include "app/frame/LoadingWindow.h"
#include "app/frame/PageMapping.h"
#include "app/frame/PageSelector.h"
#include "app/frame/PermissionHint.h"
#include "app/frame/SessionView.h"
#include "app/pages/advanced/AdvancedPage.h"
#include "app/pages/advanced/FireKeyFields.h"
#include "app/pages/engineer/ButtonTestRunner.h"
#include "app/pages/engineer/EngineerPage.h"
#include "app/pages/keys/ComboKeyOptions.h"
#include "app/pages/keys/KeyPage.h"
#include "app/pages/lighting/LightingPage.h"
#include "app/pages/macros/MacroPage.h"
#include "app/session/DeviceSession.h"
#include "skin/ButtonVisuals.h"
#include "skin/LayoutKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QWindow>
#include <utility>

namespace orb
{

namespace
{
// Runs `run` for a key press of `key` that reached the window unhandled.
class KeyFilter : public QObject
{
  public:
    KeyFilter(QObject* parent, int key, std::function<void()> run)
        : QObject(parent), key_(key), run_(std::move(run))
    {
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == key_) {
            run_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    int key_;
    std::function<void()> run_;
};

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
            window_->HideAllMenu(); // ClearAP
        return false;
    }

  private:
    MainWindow* window_;
};
} // namespace

MainWindow::MainWindow(const MainWindowDeps& deps, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(kWindowTitle);
    // Before the first control: the skin's controls to the keyboard and to
    // assistive technology.
    InstallControlAccess(this);
    view_ = std::make_unique<SessionView>(this);
    session_ = std::make_unique<DeviceSession>(deps.clock, deps.services, deps.hid, deps.vendorId, *view_);
    stack_ = std::make_unique<PageStack>(
        this, [this](QWidget* page, int copy) { buildSkinFrame(page, copy); }, this);
    skin_ = std::make_unique<Skin>(this, *stack_, deps.services);
    // Whichever way a page comes to show (a page button, a read, a loss), the
    // window has its size and mask.
    stack_->setOnPageShown([this](int n) { skin_->FitWindowToPage(n); });
    session_->setTextLookup(skin_->lookup());
    hover_ = new ButtonHover(this, *skin_, *stack_, *session_);
    const auto hideAllMenu = [this] { HideAllMenu(); };
    actions_ = std::make_unique<FrameActions>(this, *session_, *skin_, hideAllMenu);

    // The pages; the engineering page shows what the others own, and the key
    // page's menu opens from the engineering page's key buttons.
    const PageContext context{this, *stack_, *skin_, *hover_, *session_, hideAllMenu};
    macro_ = new MacroPage(context, deps.macros);
    lighting_ = new LightingPage(context);
    advanced_ = new AdvancedPage(context, deps.hostStore, deps.hostSystem);
    key_ = new KeyPage(context, *macro_);
    engineer_ = new EngineerPage(context, *key_, *advanced_, *lighting_, *macro_);
    key_->ConnectEngineerKeyButtons();
    advanced_->fireFields().ConnectEngineerControls(engineer_->container());
    key_->comboKeys().ConnectEngineerControls(engineer_->container());
    advanced_->ConnectEngineer(engineer_->link());
    lighting_->ConnectEngineer(engineer_->link());
    for (Page* p : std::initializer_list<Page*>{engineer_, key_, advanced_, lighting_, macro_})
        skin_->addPage(p);
    mapping_ = std::make_unique<PageMapping>(*key_, *advanced_, *lighting_, *macro_, *engineer_);
    selector_ =
        std::make_unique<PageSelector>(*stack_, *skin_, *session_, *key_, *engineer_, *macro_, hideAllMenu);
    wireEngineerButtons();
    wireKeyboard();

    auto* clear = new ClearApFilter(this);
    for (const char* name :
         {"gbPage1", "Img_Base_1", "Img_Base_2", "Img_Base_3", "Img_Base_4", "Img_P1", "gbPage6"})
        if (QWidget* w = skin_->control(QLatin1String(name)))
            w->installEventFilter(clear);

    loading_ = new LoadingWindow(this);
    view_->attach(
        {session_.get(), stack_.get(), loading_, mapping_.get(), selector_.get(), advanced_, macro_,
         engineer_, hideAllMenu, [this](ProfileKeysBytes& keys) { key_->AIMKeyToDataBuf(keys); },
         [this] {
             for (Page* p : std::initializer_list<Page*>{engineer_, key_, advanced_, lighting_, macro_})
                 p->ResetNoDevice();
         },
         [this] {
             for (Page* p : std::initializer_list<Page*>{engineer_, key_, advanced_, lighting_, macro_})
                 p->DeviceLost();
         }});
    view_->attachKeyPage(key_);
    permission_ = std::make_unique<PermissionHint>(this, [this] { return skin_->languageIndex(); });
    view_->attachPermissionHint(permission_.get());
    FormCreate(deps.locale);
    loading_->centreOver(geometry(), 40);
    session_->start();
}

MainWindow::~MainWindow()
{
    // The widgets go while the parts their handlers use still exist, then
    // the pages and the pointer pictures, then the parts. No handler runs
    // while they go: a popup closed on the way hands the focus back to an
    // edit, whose focus-out handler would redraw a page half deleted.
    for (QWidget* w : findChildren<QWidget*>())
        w->blockSignals(true);
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    delete engineer_;
    delete key_;
    delete advanced_;
    delete lighting_;
    delete macro_;
    delete hover_;
}

void MainWindow::buildSkinFrame(QWidget* pg, int copy)
{
    auto* overlayPicture = new QLabel(pg);
    overlayPicture->setObjectName(QStringLiteral("Img_P%1").arg(copy));

    QList<LayoutButtonKeys> buttons = ActionButtonKeys();
    buttons += PageButtonKeys();
    buttons.append({QString(), QStringLiteral("Engineer")});
    buttons.append({QString(), QStringLiteral("Web")});

    const QHash<QString, std::function<void()>> handlers = {
        {QStringLiteral("Confirm"), [this] { actions_->Btn_Confirm_0Click(); }},
        {QStringLiteral("Apply"), [this] { actions_->Btn_Apply_0Click(); }},
        {QStringLiteral("Read"), [this] { actions_->Btn_Read_0Click(); }},
        {QStringLiteral("Confirm1"), [this] { actions_->Btn_Confirm1_1Click(); }},
        {QStringLiteral("Confirm2"), [this] { actions_->Btn_Confirm2_1Click(); }},
        {QStringLiteral("Confirm3"), [this] { actions_->Btn_Confirm3_1Click(); }},
        {QStringLiteral("Mini"), [this] { Btn_Minimize_0Click(); }},
        {QStringLiteral("Main"), [this] { selector_->Btn_Main_0Click(); }},
        {QStringLiteral("Second"), [this] { selector_->Btn_Second_0Click(); }},
        {QStringLiteral("Adv"), [this] { selector_->Btn_Adv_0Click(); }},
        {QStringLiteral("Breath"), [this] { selector_->Btn_Breath_0Click(); }},
        {QStringLiteral("Macro"), [this] { selector_->Btn_Macro_0Click(); }},
        {QStringLiteral("Save"), [this] { actions_->Btn_Save_0Click(); }},
        {QStringLiteral("Load"), [this] { actions_->Btn_Load_0Click(); }},
        {QStringLiteral("Lang1"), [this] { Btn_Lang1_0Click(); }},
        {QStringLiteral("Lang2"), [this] { Btn_Lang2_0Click(); }},
        {QStringLiteral("Lang3"), [this] { Btn_Lang3_0Click(); }},
        {QStringLiteral("Engineer"), [this] { selector_->Btn_Engineer_0Click(); }},
        {QStringLiteral("Web"), [this] { Btn_Web_0Click(); }},
    };

    for (const LayoutButtonKeys& b : buttons) {
        auto* picture = new QLabel(pg);
        picture->setObjectName(QStringLiteral("Img_%1_%2").arg(b.name).arg(copy));
        auto* caption = new ClickLabel(pg);
        caption->setObjectName(QStringLiteral("Btn_%1_%2").arg(b.name).arg(copy));
        caption->setAlignment(Qt::AlignCenter);
        if (b.name == QLatin1String("Exit")) {
            connect(caption, &ClickLabel::clicked, this, &QWidget::close); // Btn_Exit_0Click
        } else if (const auto h = handlers.value(b.name)) {
            connect(caption, &ClickLabel::clicked, this, h);
        }
        describeFrameButton(caption, b.name);
        // The pointer pictures, once the skin exists.
        connect(caption, &ClickLabel::entered, this, [this, caption] { hover_->ButtonMouseEnter(caption); });
        connect(caption, &ClickLabel::left, this, [this, caption] { hover_->ButtonMouseLeave(caption); });
    }
}

void MainWindow::describeFrameButton(ClickLabel* caption, const QString& name)
{
    static const QStringList pageGroups{QStringLiteral("Main"),  QStringLiteral("Second"),
                                        QStringLiteral("Adv"),   QStringLiteral("Breath"),
                                        QStringLiteral("Macro"), QStringLiteral("Engineer")};
    // The window buttons show a picture only.
    static const QHash<QString, QString> pictureOnly{{QStringLiteral("Exit"), QStringLiteral("Str003")},
                                                     {QStringLiteral("Mini"), QStringLiteral("Str863")},
                                                     {QStringLiteral("Web"), QStringLiteral("Str864")}};
    if (pageGroups.contains(name)) {
        DescribeControl(caption, {ControlRole::PageTab,
                                  {},
                                  [this, name] {
                                      const PageOption* o = FindPageOption(stack_->PageState());
                                      return !stack_->noDeviceUI() && o && o->group == name;
                                  },
                                  {}});
    } else if (name.startsWith(QLatin1String("Lang"))) {
        const int language = name.mid(4).toInt();
        DescribeControl(caption, {ControlRole::RadioButton,
                                  {},
                                  [this, language] { return stack_->selectedLanguage() == language; },
                                  {}});
    } else if (const QString key = pictureOnly.value(name); !key.isEmpty()) {
        DescribeControl(caption,
                        {ControlRole::PushButton, [this, key] { return skin_->LookupText(key); }, {}, {}});
    }
}

void MainWindow::wireKeyboard()
{
    // Escape no control took: the menus close, the focus goes back to what
    // opened them. A key event, not a shortcut: the small dialogs above the
    // window keep their own Escape.
    auto* escape = new KeyFilter(this, Qt::Key_Escape, [this] {
        const auto* before = qobject_cast<const ClickLabel*>(QApplication::focusWidget());
        const bool inMenu = before && before->access().role == ControlRole::MenuItem;
        HideAllMenu();
        const QWidget* focus = QApplication::focusWidget();
        if (!inMenu && focus && focus->isVisible())
            return;
        if (auto* opener = qobject_cast<QWidget*>(property("menuOpener").value<QObject*>());
            opener && opener->isVisible())
            opener->setFocus(Qt::OtherFocusReason);
        else if (QWidget* shown = stack_->page(stack_->shownPage()))
            PageStack::focusFirstControl(shown);
    });
    installEventFilter(escape);
    // Ctrl+Page Up/Down: the page before or after, its selector focused.
    const std::pair<QKeySequence, int> steps[] = {{QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
                                                  {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1}};
    for (const auto& [keys, step] : steps) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            selector_->SelectNeighbourPage(step);
            const PageOption* o = FindPageOption(stack_->PageState());
            if (o && o->page >= 1 && o->page <= 4)
                if (QWidget* tab = skin_->control(QStringLiteral("Btn_%1_%2").arg(o->group).arg(o->page)))
                    tab->setFocus(Qt::TabFocusReason);
        });
    }
}

void MainWindow::wireEngineerButtons()
{
    // The engineering page's own page and action buttons act like the skinned ones.
    const std::pair<const char*, std::function<void()>> buttons[] = {
        {"Btn_Main_6", [this] { selector_->Btn_Main_0Click(); }},
        {"Btn_Switch_6", [this] { selector_->Btn_Second_0Click(); }},
        {"Btn_Adv_6", [this] { selector_->Btn_Adv_0Click(); }},
        {"Btn_Breath_6", [this] { selector_->Btn_Breath_0Click(); }},
        {"Btn_Macro_6", [this] { selector_->Btn_Macro_0Click(); }},
        {"Btn_Engineer_6", [this] { selector_->Btn_Engineer_0Click(); }},
        {"Btn_Load_6", [this] { actions_->Btn_Load_0Click(); }},
        {"Btn_Save_6", [this] { actions_->Btn_Save_0Click(); }},
        {"btn_Write", [this] { actions_->Btn_Apply_0Click(); }},
        {"Btn_Default", [this] { actions_->Btn_DefaultClick(); }},
        {"Btn_ImportBaseMacro", [this] { macro_->Btn_ImportBaseMacroClick(); }},
    };
    for (const auto& [name, handler] : buttons)
        if (auto* b = page(6)->findChild<QAbstractButton*>(QLatin1String(name)))
            connect(b, &QAbstractButton::clicked, this, handler);
}

void MainWindow::FormCreate(const QLocale& locale)
{
    // Tray icon with the application icon.
    tray_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
    if (QSystemTrayIcon::isSystemTrayAvailable())
        tray_->show();

    skin_->LoadBaseImage();
    skin_->FitWindowToSkin();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
    // Outside the background picture the window is see-through.
    WindowShape::MakeTranslucent(this);

    stack_->showOnlyPage(1);
    skin_->LoadSkinImages();
    skin_->LoadOrgOptions();
    session_->setReserveIdentity(skin_->org().Rev_Manu_ID, skin_->org().Rev_Pro_ID);
    macro_->CheckPCMacro(); // the library file, in Path or the program's folder
    engineer_->ApplyEngineerTexts(locale);

    skin_->setLanguageIndex(1);
    skin_->ApplyLanguageLayout();
    startLayoutDone_ = true;
    session_->LoadReferenceIdentity();
    session_->link().closeDevice();
    session_->RefreshErrorAP();
    // Numbers read better right-aligned in these edits.
    for (const char* name : {"Edt_Repeat1", "Edt_DelayTime1", "Edt_Delay", "Edt_InsertDelay", "edt_Repeat",
                             "edt_XAxisValue", "edt_YAxisValue"})
        if (auto* edit = findChild<QLineEdit*>(QString::fromLatin1(name)))
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stack_->restackOverlays();
    Btn_Lang1_0Click();
}

SessionHost& MainWindow::sessionHost() const
{
    return *view_;
}

QWidget* MainWindow::page(int n) const
{
    return stack_->page(n);
}

void MainWindow::HideAllMenu()
{
    key_->HideAllMenu();
    macro_->HideAllMenu();
}

// --- Language buttons ---

void MainWindow::Btn_Lang1_0Click()
{
    LanguageButtonClick(1);
}

void MainWindow::Btn_Lang2_0Click()
{
    LanguageButtonClick(2);
}

void MainWindow::Btn_Lang3_0Click()
{
    LanguageButtonClick(3);
}

void MainWindow::LanguageButtonClick(int language)
{
    for (int n = 1; n <= 3; ++n)
        skin_->SetGroupPicture(QStringLiteral("Lang%1").arg(n),
                               n == language ? QStringLiteral("SetS_03") : QStringLiteral("SetS_01"));
    stack_->selectLanguage(language);

    macro_->BeforeLanguageChange();
    // The start has just laid out its first language; doing it again would
    // change nothing on screen and cost a tenth of the start-up.
    const bool laidOut = std::exchange(startLayoutDone_, false) && language == skin_->languageIndex();
    skin_->setLanguageIndex(language);
    if (!laidOut)
        skin_->ApplyLanguageLayout();
    macro_->AfterLanguageChange();

    QApplication::setApplicationName(skin_->textSlots().title);
    selector_->RefreshAPPage();
    permission_->Retranslate();

    // Tab follows the new layout; screen readers hear the new names.
    for (int n = 1; n <= 4; ++n)
        OrderTabsByPosition(stack_->page(n));
    AnnounceControls(this);

    // Scrolling goes on with the new caption, and leaving restores it.
    if (QWidget* first = skin_->control(QStringLiteral("Btn_Lang%1_1").arg(language)))
        hover_->scroll().restart(captionOf(first));
}

// --- Web, minimise and window behaviour ---

void MainWindow::Btn_Web_0Click()
{
    skin_->SetGroupPicture(QStringLiteral("Web"), QStringLiteral("WebS_02"));
    if (skin_->org().Web_Enable == 1)
        session_->services().openUrl(skin_->org().Web);
}

void MainWindow::Btn_Minimize_0Click()
{
    // Qt's minimise is the window manager's minimise command.
    showMinimized();
}

void MainWindow::bringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) { // ShowHint
        stack_->hintLine()->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QWidget::event(e);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(watched);
    const bool mouseEvent = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove ||
                            e->type() == QEvent::MouseButtonRelease;
    // The borderless window is dragged by its page backgrounds.
    const bool dragSurface = w && (w->objectName().startsWith(QLatin1String("Img_Base_")) ||
                                   w->objectName() == QLatin1String("Img_Logo4") ||
                                   w->objectName() == QLatin1String("Pg_Parameter"));
    if (mouseEvent && dragSurface) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (e->type() == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
            Img_BaseMouseDown(w, me->globalPosition().toPoint());
            return true;
        }
        if (e->type() == QEvent::MouseMove && dragging_) {
            move(me->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            dragging_ = false;
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void MainWindow::Img_BaseMouseDown(QWidget*, const QPoint& globalPos)
{
    HideAllMenu();
    // The window manager moves the window when it can; otherwise follow the pointer.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = globalPos - pos();
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    // The button test's worker may be inside a request on the device handle:
    // it is stopped and waited for, and the test ended, before the handle goes.
    engineer_->buttonTest().End();
    // FormCloseQuery: no command is sent to the mouse after this, also not by
    // a settle or transfer that the close interrupted.
    session_->Close();
    loading_->hide();
    e->accept();
}

} // namespace orb
