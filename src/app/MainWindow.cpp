#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/LoadingWindow.h"
#include "image/DefaultImages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QWindow>

namespace orb
{

namespace
{
constexpr int kDevTimerMs = 3500;
constexpr QSize kUserPageSize(1030, 662);
constexpr QSize kEngineerPageSize(1076, 640);
const QColor kMaroon(128, 0, 0);

// Controls that stay usable while the overlays block a page: the exit and
// minimise buttons and the windowed controls of the pages.
const char* const kAboveOverlay[] = {"Img_Exit_", "Btn_Exit_", "Img_Mini_", "Btn_Mini_"};
const char* const kWindowedControls[] = {"Edt_Repeat1", "Edt_DelayTime1", "LB_PCMacroName",
                                         "Gb_Insert",   "LB_macro",       "Gb_Delay"};

// A transparent cover that takes the pointer input of everything under it.
class InputBlocker final : public QWidget
{
  public:
    using QWidget::QWidget;

  protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
};
} // namespace

MainWindow::MainWindow(const MainWindowDeps& deps, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), clock_(deps.clock), services_(deps.services),
      link_(deps.hid, deps.clock)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(kWindowTitle);
    CandidateIds[0] = {deps.vendorId, kProductId};
    CandidateIds[1] = {0, 0};
    DevTimer_ = clock_.createTimer(kDevTimerMs, [this] { DevTimerTimer(); });
    buildPages();
    FormCreate();
    loading_ = new LoadingWindow(this);
    loading_->centreOver(geometry(), 40);
    DevTimer_->setEnabled(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildPages()
{
    const char* names[] = {"gbPage1", "gbPage2", "gbPage3", "gbPage4", "gbPage6"};
    for (int i = 0; i < 5; ++i) {
        auto* page = new QWidget(this);
        page->setObjectName(QString::fromLatin1(names[i]));
        page->resize(i < 4 ? kUserPageSize : kEngineerPageSize);
        pages_.push_back(page);
        if (i < 4) {
            const int copy = i + 1;
            auto* base = new QLabel(page);
            base->setObjectName(QStringLiteral("Img_Base_%1").arg(copy));
            base->setGeometry(QRect(QPoint(0, 0), kUserPageSize));
            base->installEventFilter(this);
            buildSkinFrame(page, copy);
            auto* overlay = new InputBlocker(page);
            overlay->setObjectName(QStringLiteral("Disable_All_%1").arg(copy));
            overlay->setGeometry(base->geometry());
            overlays_.push_back(overlay);
        }
    }
    lbl_Content_ = new QLabel(pages_[4]);
    lbl_Content_->setObjectName(QStringLiteral("lbl_Content"));
    lbl_Content_->setGeometry(56, 558, 951, 40);
    lbl_Content_->setWordWrap(true);
    buildEngineerPage();
    buildKeyPage(); // key captions, assignment menu, AIM bar
    buildPageState();
}

void MainWindow::FormCreate()
{
    // Tray icon with the application icon.
    tray_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
    if (QSystemTrayIcon::isSystemTrayAvailable())
        tray_->show();

    LoadBaseImage();
    FitWindowToSkin();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMaroon);
    setPalette(pal);
    setAutoFillBackground(true);

    ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    showOnlyPage(1);
    LoadSkinImages();
    LoadOrgOptions();

    LanguageIndex = 1;
    ApplyLanguageLayout();
    LoadReferenceIdentity();
    link_.closeDevice();
    RefreshErrorAP();
    // Numbers read better right-aligned in these edits.
    for (const char* name : {"Edt_Repeat1", "Edt_DelayTime1", "Edt_Delay", "Edt_InsertDelay", "edt_Repeat",
                             "edt_XAxisValue", "edt_YAxisValue"})
        if (auto* edit = findChild<QLineEdit*>(QString::fromLatin1(name)))
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    restackOverlays();
    Btn_Lang1_0Click();
}

QWidget* MainWindow::page(int n) const
{
    if (n >= 1 && n <= 4)
        return pages_[n - 1];
    if (n == 6)
        return pages_[4];
    return nullptr;
}

void MainWindow::showOnlyPage(int n)
{
    for (int i = 1; i <= 6; ++i)
        if (QWidget* p = page(i))
            p->setVisible(i == n);
}

void MainWindow::restackOverlays()
{
    for (int copy = 1; copy <= 4; ++copy) {
        QWidget* p = page(copy);
        overlays_[copy - 1]->raise();
        for (const char* prefix : kAboveOverlay)
            if (auto* w = p->findChild<QWidget*>(QString::fromLatin1(prefix) + QString::number(copy)))
                w->raise();
        for (const char* name : kWindowedControls)
            if (auto* w = p->findChild<QWidget*>(QString::fromLatin1(name)))
                w->raise();
    }
}

// --- Connection state machine ---

void MainWindow::DevTimerTimer()
{
    if (TimerBusy || Closing)
        return;
    TimerBusy = true;

    // Five pairs of counts; a device that is just arriving makes them disagree.
    int agreements = 0;
    int count = 0;
    for (int i = 0; i < 5; ++i) {
        const int c1 = link_.CountHidDevices();
        const int c2 = link_.CountHidDevices();
        if (c1 == c2)
            ++agreements;
        count = c1;
    }

    if (count != LastHidCount && agreements >= 2) {
        if (count < LastHidCount) {
            // Any interface leaving counts as the loss of the mouse.
            DevLost();
            link_.DeviceVendorId = 0;
            link_.DeviceProductId = 0;
            link_.closeDevice();
        } else {
            for (const CandidateId& id : CandidateIds) {
                if (id.vendor == 0 || id.product == 0)
                    continue;
                clock_.waitPumped(21, 100); // let the new device settle
                if (Closing)
                    break; // the window was closed during the settle
                int release = kReleaseNumber;
                if (link_.OpenHidDevice(id.vendor, id.product, release)) {
                    link_.DeviceVendorId = std::uint32_t(id.vendor);
                    link_.DeviceProductId = std::uint32_t(id.product);
                    ReadDevInfo();
                    break;
                }
                DevLost();
            }
        }
        LastHidCount = count;
    }
    TimerBusy = false;
}

void MainWindow::DevLost()
{
    HideAllMenu();
    NoDeviceUI = false;
    RefreshErrorAP();
    // The macro list empties and the light type is remembered afresh when
    // the next image is shown.
    if (auto* macros = findChild<QListWidget*>(QStringLiteral("LB_macro")))
        macros->clear();
    LedTypeShown.clear();
    ShowDisableAll();
    if (!DevTimer_->isEnabled())
        DevTimer_->setEnabled(true);
    RefreshFormMessagDialog(LookupText(QStringLiteral("Str100")) + QStringLiteral("\r\r") +
                            LookupText(QStringLiteral("Str101")));
}

void MainWindow::RefreshErrorAP()
{
    InitNoDevice();
    NoDeviceUI = true;
    showOnlyPage(1);
    ShowMainPageSelectors();
}

void MainWindow::LoadReferenceIdentity()
{
    if (const auto id = orb::LoadReferenceIdentity())
        ReferenceIdentity = *id;
}

void MainWindow::InitNoDevice()
{
    if (const auto images = LoadDefaultImages())
        DefaultImages = *images;
    Image.ImageBuf = DefaultImages[0];
    // The macro texts and lists of the last mouse go; the default image's
    // macro slots take their place.
    for (const char* name : {"LB_MacroName", "LB_macro"})
        if (auto* list = findChild<QListWidget*>(QString::fromLatin1(name)))
            list->clear();
    for (const char* name : {"mmo_macro", "mmo_wrscript"})
        if (auto* text = findChild<QPlainTextEdit*>(QString::fromLatin1(name)))
            text->clear();
    Image.SplitImage();
    RefreshMacrosFromArea();
    DataBufToUI();
}

void MainWindow::ShowMainAfterRead()
{
    showOnlyPage(1);
    NoDeviceUI = false;
    if (PageState() == QLatin1String("rb_1"))
        Btn_Main_0Click();
    clock_.pumpEvents();
    HideDisableAll();
}

// --- Busy and blocking services ---

void MainWindow::ShowLoading()
{
    if (Closing)
        return; // a transfer cut short by closing the window winds down unseen
    loading_->centreOver(geometry());
    loading_->show();
    loading_->raise();
    clock_.pumpEvents();
}

void MainWindow::HideLoading()
{
    loading_->hide();
    clock_.pumpEvents();
}

void MainWindow::ShowDisableAll()
{
    for (QWidget* o : overlays_)
        o->setVisible(true);
}

void MainWindow::HideDisableAll()
{
    for (QWidget* o : overlays_)
        o->setVisible(false);
}

// --- Texts ---

void MainWindow::LoadLanguage(int index)
{
    LanguageIndex = index;
    Pack = LoadLanguagePack(index);
    Slots = ReadTextSlots(Pack);
    services_.setMessageFont(Slots.fontName);
    // The application title; Qt would append a display name to every window
    // caption, and the main window's caption must stay exact, so it is kept
    // as the application's name only.
    QApplication::setApplicationName(Slots.title);
}

QString MainWindow::LookupText(const QString& key) const
{
    return orb::LookupText(Pack, key);
}

void MainWindow::RefreshFormMessagDialog(const QString& text)
{
    services_.showMessage(text, MessageStyle::MessageWindow);
}

// --- Window behaviour ---

void MainWindow::bringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) { // ShowHint
        lbl_Content_->setText(static_cast<QStatusTipEvent*>(e)->tip());
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
    // FormCloseQuery: no command is sent to the mouse after this, also not by
    // a settle or transfer that the close interrupted.
    Closing = true;
    link_.closeDevice();
    DevTimer_->setEnabled(false);
    loading_->hide();
    e->accept();
}

} // namespace orb
