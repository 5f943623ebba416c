#include "Interaction.h"

#include "app/pages/advanced/HostSettingsPanel.h"
#include "app/pages/engineer/ButtonTestRunner.h"
#include "app/pages/engineer/EngineerPage.h"
#include "app/pages/engineer/PassDialog.h"
#include "app/session/KnownMouseImage.h"
#include "device/MouseLock.h"
#include "image/ProfileFile.h"
#include "macros/LibrarySharing.h"
#include "macros/MacroCodec.h"
#include "macros/MacroLibrary.h"
#include "rcdata.h"

#include "app/base/ClickLabel.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegion>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace orb::interact
{

namespace
{

using test::kVendor;

// The longest a single action may keep the program busy on the virtual
// clock: a read or a write with its verification takes a few seconds.
constexpr std::int64_t kActionBoundMs = 60'000;

const char* kindName(Kind k)
{
    switch (k) {
    case Kind::Click:
        return "click";
    case Kind::Drag:
        return "drag";
    case Kind::Key:
        return "key";
    case Kind::Advance:
        return "advance";
    case Kind::Unplug:
        return "unplug";
    case Kind::Plug:
        return "plug";
    case Kind::UnplugAt:
        return "unplug-at";
    case Kind::PumpClick:
        return "pump-click";
    case Kind::Feed:
        return "feed";
    case Kind::QueueFile:
        return "file";
    case Kind::PassAnswer:
        return "pass";
    case Kind::StopRecord:
        return "stop-recording";
    case Kind::OtherLibrary:
        return "other-library";
    case Kind::DesktopSet:
        return "desktop-set";
    case Kind::OtherWrites:
        return "other-writes";
    case Kind::KeyTest:
        return "key-test";
    case Kind::LoseChunk:
        return "lose-chunk";
    case Kind::KeyWalk:
        return "key-walk";
    }
    return "?";
}

// The keys a user presses on the focused widget.
constexpr int kKeys[] = {Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,     Qt::Key_Right,  Qt::Key_Home,
                         Qt::Key_End,    Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Return, Qt::Key_Enter,
                         Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Delete, Qt::Key_Backspace,
                         Qt::Key_Space,  Qt::Key_A,      Qt::Key_Z,        Qt::Key_M,      Qt::Key_0,
                         Qt::Key_5,      Qt::Key_9};

// What a keyboard user presses on the control Tab reached.
const std::pair<int, int> kWalkKeys[] = {
    {Qt::Key_Space, 0},
    {Qt::Key_Return, 0},
    {Qt::Key_Up, 0},
    {Qt::Key_Down, 0},
    {Qt::Key_Left, 0},
    {Qt::Key_Right, 0},
    {Qt::Key_Home, 0},
    {Qt::Key_End, 0},
    {Qt::Key_PageUp, 0},
    {Qt::Key_PageDown, 0},
    {Qt::Key_Escape, 0},
    {Qt::Key_PageUp, int(Qt::ControlModifier)},
    {Qt::Key_PageDown, int(Qt::ControlModifier)},
};

// Controls whose actions are aimed at the library's entries as a whole
// (new, rename, delete, import): they may change any entry.
bool AimsAtLibrary(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("Btn_NewMacro"),  QStringLiteral("Btn_NewName"), QStringLiteral("Btn_DelPCMacro"),
        QStringLiteral("Btn_ImportOne"), QStringLiteral("Btn_Import"),  QStringLiteral("Btn_New"),
        QStringLiteral("Img_New"),
    };
    return names.contains(name);
}

// The page and action buttons of the frame (every page's copy) and the engineering page's.
bool IsFrameButton(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("Apply"),    QStringLiteral("Read"),   QStringLiteral("Main"),
        QStringLiteral("Second"),   QStringLiteral("Adv"),    QStringLiteral("Breath"),
        QStringLiteral("Macro"),    QStringLiteral("Save"),   QStringLiteral("Load"),
        QStringLiteral("Lang1"),    QStringLiteral("Lang2"),  QStringLiteral("Lang3"),
        QStringLiteral("Engineer"), QStringLiteral("Switch"), QStringLiteral("Default"),
    };
    if (name == QLatin1String("btn_Write") || name == QLatin1String("Btn_Default"))
        return true;
    if (!name.startsWith(QLatin1String("Btn_")))
        return false;
    return names.contains(name.mid(4).section(QLatin1Char('_'), 0, 0));
}

// Controls that take clicks or keys themselves.
bool TakesInput(QWidget* w)
{
    return qobject_cast<ClickLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QTabBar*>(w) || qobject_cast<QTabWidget*>(w);
}

std::vector<QString> ScriptLines(const MacroScript& s)
{
    std::vector<QString> out;
    for (int i = 0; i < s.itemCount(); ++i)
        out.push_back(s.item(i));
    return out;
}

// The lines a library record opens as (none for an empty record).
std::vector<QString> RecordLines(const MacroRecord& r)
{
    if (MacroRecordEmpty(r))
        return {};
    return ScriptLines(DecodeRecord(r).script);
}

// The pointer setting a control of the advanced page sets, by its name.
std::optional<HostSetting> HostSettingOfControl(const QString& name)
{
    for (const char* prefix : {"Img_DbSpd", "lbl_DbSpd", "lbl_TitleDbSpd", "Bar_DbSpd"})
        if (name.startsWith(QLatin1String(prefix)))
            return HostSetting::DoubleClick;
    for (const char* prefix : {"Img_ScrSpd", "lbl_ScrSpd", "lbl_TitleScrSpd", "Bar_ScrSpd"})
        if (name.startsWith(QLatin1String(prefix)))
            return HostSetting::WheelLines;
    for (const char* prefix : {"Img_Spd", "lbl_Spd", "lbl_TitleSpd", "Bar_Spd"})
        if (name.startsWith(QLatin1String(prefix)))
            return HostSetting::Speed;
    if (name.endsWith(QLatin1String("IsControl")))
        return HostSetting::Acceleration;
    if (name.endsWith(QLatin1String("IsScreen")))
        return HostSetting::WheelLines;
    return std::nullopt;
}

// The desktop's names of each setting's values.
QStringList DesktopNames(HostSetting setting)
{
    switch (setting) {
    case HostSetting::Speed:
        return {QStringLiteral("MouseSensitivity")};
    case HostSetting::Acceleration:
        return {QStringLiteral("MouseSpeed"), QStringLiteral("MouseThreshold1"),
                QStringLiteral("MouseThreshold2")};
    case HostSetting::DoubleClick:
        return {QStringLiteral("DoubleClickSpeed")};
    case HostSetting::WheelLines:
        return {QStringLiteral("WheelScrollLines")};
    }
    return {};
}

// What another program sets: setting a % 4, a value from b (0..14).
std::map<QString, QString> DesktopSetValues(int a, int b)
{
    const int v = std::clamp(b, 0, 14);
    switch (a % 4) {
    case 0:
        return {{QStringLiteral("MouseSensitivity"), QString::number(1 + v)}};
    case 1: {
        const bool on = v % 2;
        return {{QStringLiteral("MouseSpeed"), on ? QStringLiteral("1") : QStringLiteral("0")},
                {QStringLiteral("MouseThreshold1"), on ? QStringLiteral("6") : QStringLiteral("0")},
                {QStringLiteral("MouseThreshold2"), on ? QStringLiteral("10") : QStringLiteral("0")}};
    }
    case 2:
        return {{QStringLiteral("DoubleClickSpeed"), QString::number(200 + 50 * v)}};
    default:
        return {{QStringLiteral("WheelScrollLines"), v == 0 ? QStringLiteral("-1") : QString::number(v)}};
    }
}

} // namespace

QString Action::describe() const
{
    QString s = QString::fromLatin1(kindName(kind));
    if (!target.isEmpty())
        s += QStringLiteral(" %1#%2").arg(target).arg(index);
    s += QStringLiteral(" %1 %2 %3 %4").arg(a).arg(b).arg(c).arg(d);
    return s;
}

std::optional<Action> Action::parse(const QString& line)
{
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    if (parts.isEmpty())
        return std::nullopt;
    Action act;
    bool known = false;
    for (int k = 0; k <= int(kLastKind); ++k)
        if (parts[0] == QLatin1String(kindName(Kind(k)))) {
            act.kind = Kind(k);
            known = true;
        }
    if (!known)
        return std::nullopt;
    int at = 1;
    if (parts.size() == 6) {
        const QStringList t = parts[1].split(QLatin1Char('#'));
        act.target = t[0];
        act.index = t.size() > 1 ? t[1].toInt() : 0;
        at = 2;
    }
    if (parts.size() - at != 4)
        return std::nullopt;
    act.a = parts[at].toInt();
    act.b = parts[at + 1].toInt();
    act.c = parts[at + 2].toInt();
    act.d = parts[at + 3].toInt();
    return act;
}

// The window with its simulated mouse and the test's own record of what may
// change: the shadow library, the open macro, the request log read so far.
class World : public QObject
{
  public:
    explicit World(const Options& options);
    ~World() override;

    // Builds the window with the mouse plugged in and read.
    bool start();
    // Builds a window on the mouse, library and settings as they are.
    bool openWindow();
    void closeWindow();
    std::optional<Violation> reopenAfterClose(int writesBefore);
    // Runs one action and checks every invariant after it.
    std::optional<Violation> run(const Action& act);
    // A new action fitting what the window shows now.
    Action generate(std::mt19937_64& rng);
    bool closed() const { return !window_ || !window_->isVisible(); }

  private:
    // --- The actions ---
    QList<QWidget*> namedWidgets() const;
    QWidget* resolve(const QString& name, int index) const;
    void perform(const Action& act);
    void click(QWidget* w, QPoint at, int how, Qt::KeyboardModifiers mods = {});
    QPoint pointIn(QWidget* w, int a, int b) const;
    QString writeFile(int kind);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // --- The invariants, one a function ---
    std::optional<Violation> LibraryChangesOnlyThroughAimedActions(bool aimedAtLibrary);
    std::optional<Violation> LibraryRecordsFitAndDecode() const;
    std::optional<Violation> NoExchangeInsideAnother();
    std::optional<Violation> MacroAreaNeverErased() const;
    std::optional<Violation> VerifiedApplyMatchesTheMouse(bool wrote) const;
    std::optional<Violation> RecordingStaysWithinItsBudget() const;
    std::optional<Violation> RecordingStopsByItsButton(const Action& act, bool wasRecording) const;
    std::optional<Violation> WindowKeepsTheSkinsSizeAndMask() const;
    std::optional<Violation> ExactlyOnePageShows() const;
    std::optional<Violation> OverlaysCoverThePagesWithoutAMouse() const;
    std::optional<Violation> ActionReturnsInBoundedTime(std::int64_t tookMs) const;
    std::optional<Violation> NoModalDialogIsLeft() const;
    std::optional<Violation> ConfirmLeavesTheMouseAsShown(bool verified, const ImageBytes& shown) const;
    std::optional<Violation> ConfirmKeepsTheHostSettings(bool verified, const HostMouseState& closed) const;
    std::optional<Violation> LibraryOutlivesTheWindow(const MacroLibrary& closed, int recordingInto) const;
    std::optional<Violation> ReopenedWindowReadsTheMouse();
    std::optional<Violation> OtherProgramsLibraryChangesStay();
    std::optional<Violation> WindowsLibraryChangesStay(bool aimedAtLibrary) const;
    std::optional<Violation> TheFileHoldsTheWindowsLibraryAfterASave() const;
    std::optional<Violation> OpenMacroShowsWhatTheLibraryHolds() const;
    std::optional<Violation> DesktopSettingsChangeOnlyWhereTheUserChangedThem();
    std::optional<Violation> FocusStaysOnWhatShows(const Action& act, const QWidget* before,
                                                   bool wasVisible) const;
    // Tabs, then one key, as a keyboard user drives the window.
    void performKeyWalk(const Action& act);
    void followOpenMacro(bool aimedAtLibrary);
    // The other program on the library file.
    void otherProgramChangesLibrary(int change, int entry);
    MacroLibrary libraryFile() const;
    // Before an action: what the library and its file hold. After it:
    // whether the window took in the other program's changes (it saved
    // over them), which makes every library change of the action its own.
    void beforeLibraryAction();
    bool tookInOthersChanges(const Action& act);
    bool mousePresent();
    // The shared mouse: another program's write through the lock, a chunk
    // the mouse leaves unanswered.
    void otherWrites(const Action& act);
    void armLostChunk(int nth);

    void plantStoreIntoCurrentRow();

    MacroPage& macros() const { return window_->macroPage(); }

    Options options_;
    VirtualClock clock_;
    FakeServices services_;
    SimHost host_;
    SimMouse mouse_;
    FakeHostMouseStore hostStore_;
    FakeHostMouseSystem hostSystem_;
    QTemporaryDir folder_;
    FakeInputCapture* capture_ = nullptr;
    std::unique_ptr<MainWindow> window_;

    // The shadow library and the macro whose lines the page shows.
    MacroLibrary shadow_;
    int open_ = -1;
    std::vector<QString> shownLines_;
    int shownRow_ = -1;
    // Requests of the mouse's log already checked, and whether they left an exchange open.
    std::size_t requestsSeen_ = 0;
    bool inExchange_ = false;
    bool erasedByTest_ = false;
    // Library records that fit and decoded, by entry (decoding all each time costs).
    mutable std::array<MacroRecord, LibraryEntryCount> recordsDecoded_{};
    // Armed clicks inside a pump: pumps to go, and the click.
    std::optional<std::pair<int, Action>> pumpClick_;
    bool pumpClickFired_ = false;
    int passAnswer_ = 0;
    std::uint32_t captureTime_ = 1000;
    int files_ = 0;

    // The other program's changes the window has not taken in: the records
    // it made (each one of its own), the names it deleted, renamed or gave
    // other lines since the window last took its changes in, and whether
    // there is something to take in.
    std::vector<MacroRecord> otherMade_;
    QStringList otherTouched_;
    bool otherPending_ = false;
    int otherSerial_ = 0;
    bool tookIn_ = false;
    QByteArray fileBefore_;
    MacroLibrary libraryBefore_;
    // The desktop's pointer settings as it last had them, and the settings
    // whose controls the user worked in the current action.
    std::map<QString, QString> desktopLast_;
    std::set<HostSetting> userTouched_;
    // The mouse's lock as the program has it, and the other program on it.
    QTemporaryDir locks_;
    std::unique_ptr<MouseLock> other_;
    std::optional<std::pair<int, Action>> pumpOther_;
    int readsToLost_ = 0;          // chunk reads until the one left unanswered; 0: none armed
    int lostAttempts_ = 0;         // its attempts still to go unanswered
    std::size_t otherWroteAt_ = 0; // the request log's length at the other program's last write
};

namespace
{
// The offscreen platform says at every mask that it keeps none; a run sets
// thousands.
QtMessageHandler previousHandler = nullptr;
void QuietMasks(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (msg.contains(QLatin1String("does not support setting window masks")))
        return;
    if (previousHandler)
        previousHandler(type, ctx, msg);
}
} // namespace

World::World(const Options& options) : options_(options)
{
    // A run closes and reopens the window; the test's application goes on.
    QApplication::setQuitOnLastWindowClosed(false);
    qApp->installEventFilter(this);
    previousHandler = qInstallMessageHandler(QuietMasks);
}

World::~World()
{
    qInstallMessageHandler(previousHandler);
    qApp->removeEventFilter(this);
    clock_.setPumpHook({});
    mouse_.onCommand = {};
    window_.reset();
    // Dialogs without a parent go with the window's run.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->close();
    QCoreApplication::processEvents();
}

bool World::start()
{
    if (auto img = LoadDefaultImage(1))
        mouse_.memory = *img;
    host_.addStandardSet(&mouse_, kVendor);
    host_.plugMouse(&mouse_, true);
    // A desktop that knows all its pointer settings.
    hostSystem_.current = {{QStringLiteral("MouseSensitivity"), QStringLiteral("10")},
                           {QStringLiteral("MouseSpeed"), QStringLiteral("1")},
                           {QStringLiteral("MouseThreshold1"), QStringLiteral("6")},
                           {QStringLiteral("MouseThreshold2"), QStringLiteral("10")},
                           {QStringLiteral("DoubleClickSpeed"), QStringLiteral("500")},
                           {QStringLiteral("WheelScrollLines"), QStringLiteral("3")}};
    desktopLast_ = hostSystem_.current;
    return openWindow() && window_->session().link().hasDevice();
}

bool World::openWindow()
{
    MacroPageDeps deps{[this] {
                           auto c = std::make_unique<FakeInputCapture>();
                           capture_ = c.get();
                           return c;
                       },
                       folder_.path() + QLatin1Char('/'), folder_.path() + QStringLiteral("/data")};
    window_ = std::make_unique<MainWindow>(MainWindowDeps{clock_, services_, host_, kVendor, hostStore_,
                                                          hostSystem_, deps,
                                                          QLocale(QLocale::English, QLocale::UnitedStates)});
    host_.setLockNodeFolder(locks_.path().toStdString());
    window_->session().link().setLockFolder(locks_.path(), 3000);
    other_ =
        std::make_unique<MouseLock>(locks_.path(), "sim/mouse-config",
                                    SimHost::lockNodeIn(locks_.path().toStdString(), "sim/mouse-config"));
    mouse_.onCommand = [this](int) {
        // A lost chunk: the mouse leaves every attempt at it unanswered.
        const bool read = mouse_.requests().back()[1] == ReadDataCmd;
        if (read && readsToLost_ > 0 && --readsToLost_ == 0)
            lostAttempts_ = 5;
        const bool lose = read && lostAttempts_ > 0;
        if (lose)
            --lostAttempts_;
        mouse_.config.silent = lose;
    };
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        return false;
    // Active, so that keys reach the control with the focus.
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get()))
        return false;
    clock_.advance(3500);
    QTest::mouseMove(window_.get(), QPoint(1, 1));
    clock_.setPumpHook([this] {
        if (pumpOther_ && --pumpOther_->first <= 0) {
            const Action other = pumpOther_->second;
            pumpOther_.reset();
            otherWrites(other);
        }
        if (!pumpClick_ || --pumpClick_->first > 0)
            return;
        const Action act = pumpClick_->second;
        pumpClick_.reset();
        pumpClickFired_ = AimsAtLibrary(act.target);
        if (QWidget* w = resolve(act.target, act.index))
            click(w, pointIn(w, act.a, act.b), 0);
    });
    if (options_.plantStoreIntoCurrentRow)
        plantStoreIntoCurrentRow();
    shadow_ = macros().library();
    shownLines_ = ScriptLines(macros().script());
    shownRow_ = -1;
    open_ = -1;
    requestsSeen_ = mouse_.requests().size();
    return true;
}

// The window's close as the user's end of the program: it and its dialogs go.
void World::closeWindow()
{
    clock_.setPumpHook({});
    pumpClick_.reset();
    capture_ = nullptr;
    window_.reset();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->close();
    QCoreApplication::processEvents();
}

// The window was closed (Confirm, an exit button, also in the middle of a
// transfer): what it held is checked against what outlives it, and the user
// starts the program again on the same mouse, library file and settings.
std::optional<Violation> World::reopenAfterClose(int writesBefore)
{
    const DeviceSession& session = window_->session();
    const bool verified = session.writesEnded() != writesBefore && session.lastWriteSucceeded();
    const ImageBytes shown = session.image().ImageBuf;
    const HostMouseState host = window_->advancedPage().hostSettings().state();
    // What another program wrote to the library file and the window had not
    // taken in yet is the new window's too: it starts from the file.
    const MacroLibrary library = otherPending_ ? libraryFile() : macros().library();
    otherPending_ = false;
    // A recording the close cut is dropped: its macro keeps what the file held.
    const int recordingInto = macros().Recording() ? macros().SelectedLibraryMacro() : -1;
    closeWindow();
    if (options_.verbose)
        qInfo("  window closed%s; a new one starts", verified ? " after a verified write" : "");
    // An exchange the close cut is never ended, as with an unplug.
    inExchange_ = false;
    const bool opened = openWindow();
    using Check = std::optional<Violation>;
    for (const Check& c : {
             opened ? Check{}
                    : Violation{QStringLiteral("Start"), QStringLiteral("the window did not reopen")},
             ConfirmLeavesTheMouseAsShown(verified, shown),
             ConfirmKeepsTheHostSettings(verified, host),
             LibraryOutlivesTheWindow(library, recordingInto),
             ReopenedWindowReadsTheMouse(),
         })
        if (c && !options_.ignored.contains(c->invariant) &&
            (options_.only.isEmpty() || options_.only == c->invariant ||
             c->invariant == QLatin1String("Start")))
            return c;
    return std::nullopt;
}

// Every control with a name: the window's in the order they were made, then
// the windows without a parent (dialogs) by name.
QList<QWidget*> World::namedWidgets() const
{
    QList<QWidget*> out;
    QList<QWidget*> roots{window_.get()};
    QList<QWidget*> others;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != window_.get() && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(QLatin1String("qt_")))
            others << w;
    std::stable_sort(others.begin(), others.end(),
                     [](QWidget* x, QWidget* y) { return x->objectName() < y->objectName(); });
    roots << others;
    for (QWidget* root : roots) {
        out << root;
        for (QWidget* w : root->findChildren<QWidget*>()) {
            const QString n = w->objectName();
            if (!n.isEmpty() && !n.startsWith(QLatin1String("qt_")))
                out << w;
        }
    }
    return out;
}

QWidget* World::resolve(const QString& name, int index) const
{
    int seen = 0;
    for (QWidget* w : namedWidgets())
        if (w->objectName() == name && seen++ == index)
            return w;
    return nullptr;
}

QPoint World::pointIn(QWidget* w, int a, int b) const
{
    // A list takes its clicks on the viewport, where the rows are.
    QWidget* area = w;
    if (auto* view = qobject_cast<QAbstractItemView*>(w))
        area = view->viewport();
    const QSize s = area->size();
    return QPoint(std::max(0, s.width() - 1) * a / 1000, std::max(0, s.height() - 1) * b / 1000);
}

void World::click(QWidget* w, QPoint at, int how, Qt::KeyboardModifiers mods)
{
    if (auto* view = qobject_cast<QAbstractItemView*>(w))
        w = view->viewport();
    QPointer<QWidget> alive(w);
    switch (how) {
    case 1:
        QTest::mouseClick(w, Qt::RightButton, mods, at);
        break;
    case 2:
        QTest::mousePress(w, Qt::LeftButton, {}, at);
        if (alive)
            QTest::mouseRelease(w, Qt::LeftButton, {}, at);
        if (alive)
            QTest::mouseDClick(w, Qt::LeftButton, {}, at);
        if (alive)
            QTest::mouseRelease(w, Qt::LeftButton, {}, at);
        break;
    default:
        QTest::mouseClick(w, Qt::LeftButton, mods, at);
    }
}

// A file for the next file dialog, made fresh each time (the program may
// keep or change what it was given).
QString World::writeFile(int kind)
{
    const QString path = folder_.path() + QStringLiteral("/pick%1.bin").arg(++files_);
    QByteArray bytes;
    switch (kind) {
    case ProfileGood:
        if (auto img = LoadDefaultImage(1 + files_ % 3))
            bytes = QByteArray(reinterpret_cast<const char*>(img->data()), qsizetype(img->size()));
        break;
    case ProfileDamaged:
        if (auto img = LoadDefaultImage(2)) {
            bytes = QByteArray(reinterpret_cast<const char*>(img->data()), qsizetype(img->size()));
            for (int i = 0; i < bytes.size(); i += 7)
                bytes[i] = char(bytes[i] ^ 0x5A);
            bytes[0x7F] = char(0x99); // taken as a profile, its sections wrong
        }
        break;
    case LibraryGood:
        if (auto lib = rcData(QStringLiteral("PCMacroData")))
            bytes = *lib;
        break;
    case LibraryDamaged:
        if (auto lib = rcData(QStringLiteral("PCMacroData"))) {
            bytes = lib->left(LibraryEntrySize * 5 + 100);
            for (int e = 0; e < 5; ++e)
                bytes[e * LibraryEntrySize + int(MacroNameSize) + 1] =
                    char(0xF0 + e); // lengths past the record
        }
        break;
    case OneMacroGood:
        if (auto lib = rcData(QStringLiteral("PCMacroData"))) {
            bytes = lib->mid(LibraryEntrySize * (files_ % 20), LibraryEntrySize);
            bytes[1] = char('a' + files_ % 26); // a name of its own
        }
        break;
    case OneMacroDamaged:
        if (auto lib = rcData(QStringLiteral("PCMacroData"))) {
            bytes = lib->mid(LibraryEntrySize * 2, LibraryEntrySize);
            bytes[1] = char('A' + files_ % 26);
            for (int i = int(MacroNameSize); i < bytes.size(); ++i)
                bytes[i] = char(0xE7 ^ i);
        }
        break;
    case SaveTarget:
        return path;
    case LibraryItself:
        return macros().libraryPath();
    default:
        return {};
    }
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// The pass-phrase dialog runs its own event loop: it is answered from inside it.
bool World::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        for (QObject* o = watched; o; o = o->parent())
            if (const auto setting = HostSettingOfControl(o->objectName())) {
                userTouched_.insert(*setting);
                break;
            }
        break;
    default:
        break;
    }
    if (event->type() == QEvent::Show)
        if (auto* dialog = dynamic_cast<PassDialog*>(watched)) {
            const int answer = passAnswer_;
            QTimer::singleShot(0, dialog, [dialog, answer] {
                if (answer > 0)
                    QTest::keyClicks(dialog->input(),
                                     answer == 2 ? QStringLiteral("DravelkinQWT") : QStringLiteral("guess"));
                if (auto* b = dialog->findChild<QPushButton*>(answer > 0 ? QStringLiteral("OKButton")
                                                                         : QStringLiteral("CancelButton")))
                    QTest::mouseClick(b, Qt::LeftButton);
            });
        }
    return false;
}

void World::perform(const Action& act)
{
    switch (act.kind) {
    case Kind::Click:
        if (QWidget* w = resolve(act.target, act.index))
            click(w, pointIn(w, act.a, act.b), act.c, Qt::KeyboardModifiers(act.d));
        break;
    case Kind::Drag:
        if (QWidget* w = resolve(act.target, act.index)) {
            const QPoint from = pointIn(w, act.a, act.b), to = pointIn(w, act.c, act.d);
            if (auto* view = qobject_cast<QAbstractItemView*>(w))
                w = view->viewport();
            QPointer<QWidget> alive(w);
            QTest::mousePress(w, Qt::LeftButton, {}, from);
            for (int step = 1; step <= 4 && alive; ++step)
                QTest::mouseMove(w, from + (to - from) * step / 4);
            if (alive)
                QTest::mouseRelease(w, Qt::LeftButton, {}, to);
        }
        break;
    case Kind::Key: {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::focusWidget();
        if (!w)
            w = window_.get();
        QTest::keyClick(w, Qt::Key(act.a), Qt::KeyboardModifiers(act.b));
        break;
    }
    case Kind::KeyWalk:
        performKeyWalk(act);
        break;
    case Kind::Advance:
        clock_.advance(act.a);
        break;
    case Kind::Unplug:
        host_.plugMouse(&mouse_, false);
        break;
    case Kind::Plug:
        host_.plugMouse(&mouse_, true);
        break;
    case Kind::UnplugAt:
        host_.unplugAtCommand(&mouse_, std::uint8_t(act.a), act.b);
        break;
    case Kind::PumpClick: {
        Action inner = act;
        inner.kind = Kind::Click;
        pumpClick_ = std::make_pair(std::max(1, act.c), inner);
        break;
    }
    case Kind::Feed:
        if (capture_) {
            captureTime_ += std::uint32_t(act.c);
            if (act.d == 0)
                act.b ? capture_->pressKey(act.a, captureTime_) : capture_->releaseKey(act.a, captureTime_);
            else
                capture_->click(MouseButton(act.a), act.b != 0, captureTime_);
            QCoreApplication::processEvents(); // a stop the recorder asked for is queued
        }
        break;
    case Kind::QueueFile: {
        if (act.a == Cancelled) {
            services_.openAnswers.push_back(std::nullopt);
            services_.saveAnswers.push_back(std::nullopt);
        } else if (act.a == SaveTarget || act.a == LibraryItself) {
            services_.saveAnswers.push_back(writeFile(act.a));
        } else {
            services_.openAnswers.push_back(writeFile(act.a));
        }
        break;
    }
    case Kind::PassAnswer:
        passAnswer_ = act.a;
        break;
    case Kind::DesktopSet:
        for (const auto& [name, value] : DesktopSetValues(act.a, act.b))
            desktopLast_[name] = hostSystem_.current[name] = value;
        break;
    case Kind::OtherWrites:
        if (act.c > 0)
            pumpOther_ = std::make_pair(act.c, act);
        else
            otherWrites(act);
        break;
    case Kind::KeyTest: {
        ButtonTestRunner& test = window_->engineerPage().buttonTest();
        test.btn_TestKeysClick();
        test.End();
        break;
    }
    case Kind::LoseChunk:
        armLostChunk(act.a);
        break;
    case Kind::StopRecord: {
        const bool insert = macros().InsertRecording();
        if (QWidget* w = resolve(insert ? QStringLiteral("Btn_InsertStart") : QStringLiteral("Btn_Start"), 0))
            click(w, w->rect().center(), 0);
        QCoreApplication::processEvents();
        break;
    }
    case Kind::OtherLibrary:
        otherProgramChangesLibrary(act.a, act.b);
        break;
    }
}

std::optional<Violation> World::run(const Action& act)
{
    if (options_.verbose)
        qInfo("%s", qPrintable(act.describe()));
    // Stores aimed at the library as a whole: the name dialog is open, or
    // the control clicked is one of the library's.
    bool aimed = (act.kind == Kind::Click || act.kind == Kind::Drag) && AimsAtLibrary(act.target);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TForm3") && w->isVisible())
            aimed = true;
    if (auto* dialog = window_->findChild<QWidget*>(QStringLiteral("TForm3")); dialog && dialog->isVisible())
        aimed = true;
    const bool wasRecording = macros().Recording();
    const std::size_t before = mouse_.requests().size();
    const int writesBefore = window_->session().writesEnded();
    const std::int64_t t0 = clock_.nowMs();
    pumpClickFired_ = false;
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    const bool focusWasVisible = focusBefore && focusBefore->isVisible();
    beforeLibraryAction();
    userTouched_.clear();
    perform(act);
    aimed = aimed || pumpClickFired_;
    const bool tookIn = tookInOthersChanges(act);
    if (!window_->isVisible())
        return reopenAfterClose(writesBefore);
    // A minimised window is restored before the user goes on with it.
    if (window_->isMinimized()) {
        window_->showNormal();
        QCoreApplication::processEvents();
    }
    bool wrote = false;
    const auto requests = mouse_.requests();
    for (std::size_t i = before; i < requests.size(); ++i)
        wrote = wrote || requests[i][1] == 7;
    // The result a write procedure reports is about its own write: a block
    // written otherwise (the base-macro import) leaves an older one standing.
    wrote = wrote && window_->session().writesEnded() != writesBefore;

    using Check = std::optional<Violation>;
    for (const Check& c : {
             LibraryChangesOnlyThroughAimedActions(aimed || tookIn),
             LibraryRecordsFitAndDecode(),
             NoExchangeInsideAnother(),
             MacroAreaNeverErased(),
             VerifiedApplyMatchesTheMouse(wrote),
             RecordingStaysWithinItsBudget(),
             RecordingStopsByItsButton(act, wasRecording),
             WindowKeepsTheSkinsSizeAndMask(),
             ExactlyOnePageShows(),
             OverlaysCoverThePagesWithoutAMouse(),
             ActionReturnsInBoundedTime(clock_.nowMs() - t0),
             NoModalDialogIsLeft(),
             DesktopSettingsChangeOnlyWhereTheUserChangedThem(),
             FocusStaysOnWhatShows(act, focusBefore.data(), focusWasVisible),
         })
        if (c && !options_.ignored.contains(c->invariant) &&
            (options_.only.isEmpty() || options_.only == c->invariant))
            return c;
    followOpenMacro(aimed || tookIn);
    if (tookIn)
        otherTouched_.clear();
    if (options_.verbose)
        qInfo("  open macro %d, library row %d, %d lines shown%s", open_, macros().SelectedLibraryMacro(),
              int(shownLines_.size()), macros().Recording() ? ", recording" : "");
    if (!mousePresent())
        inExchange_ = false; // an exchange cut by an unplug is never ended
    return std::nullopt;
}

bool World::mousePresent()
{
    for (int i = 0; i < host_.size(); ++i)
        if (host_.at(i).mouse == &mouse_ && host_.at(i).present)
            return true;
    return false;
}

// --- Invariants ---

std::optional<Violation> World::LibraryChangesOnlyThroughAimedActions(bool aimedAtLibrary)
{
    const MacroLibrary& now = macros().library();
    std::optional<Violation> found;
    if (!aimedAtLibrary) {
        for (int k = 0; k < LibraryEntryCount && !found; ++k) {
            if (now.Names[std::size_t(k)] != shadow_.Names[std::size_t(k)])
                found = Violation{QStringLiteral("LibraryChangesOnlyThroughAimedActions"),
                                  QStringLiteral("the name of library macro %1 changed").arg(k)};
            else if (now.Records[std::size_t(k)] != shadow_.Records[std::size_t(k)] && k != open_)
                found = Violation{
                    QStringLiteral("LibraryChangesOnlyThroughAimedActions"),
                    QStringLiteral("library macro %1 changed while macro %2 was open").arg(k).arg(open_)};
        }
    }
    shadow_ = now;
    return found;
}

std::optional<Violation> World::LibraryRecordsFitAndDecode() const
{
    const MacroLibrary& lib = macros().library();
    for (int k = 0; k < lib.Count(); ++k) {
        const MacroRecord& r = lib.Records[std::size_t(k)];
        if (MacroRecordEmpty(r) || r == recordsDecoded_[std::size_t(k)])
            continue; // checked when it came
        if (r[1] > MaxLengthByte)
            return Violation{
                QStringLiteral("LibraryRecordsFitAndDecode"),
                QStringLiteral("library macro %1 holds %2 event bytes").arg(k).arg(int(r[1]) - 1)};
        MacroRecord copy = r;
        if (CheckMacroContentBuf(copy) || !DecodeRecord(r).complete)
            return Violation{QStringLiteral("LibraryRecordsFitAndDecode"),
                             QStringLiteral("library macro %1 does not decode").arg(k)};
        recordsDecoded_[std::size_t(k)] = r;
    }
    return std::nullopt;
}

std::optional<Violation> World::NoExchangeInsideAnother()
{
    const auto requests = mouse_.requests();
    for (; requestsSeen_ < requests.size(); ++requestsSeen_) {
        const std::uint8_t cmd = requests[requestsSeen_][1];
        if (cmd == 1) {
            if (inExchange_)
                return Violation{
                    QStringLiteral("NoExchangeInsideAnother"),
                    QStringLiteral("request %1 opens an exchange inside another").arg(requestsSeen_)};
            inExchange_ = true;
        } else if (cmd == 2) {
            inExchange_ = false;
        }
    }
    return std::nullopt;
}

std::optional<Violation> World::MacroAreaNeverErased() const
{
    const bool erased = std::all_of(mouse_.memory.begin() + 0x100, mouse_.memory.end(),
                                    [](std::uint8_t b) { return b == 0xFF; });
    if (erased && !erasedByTest_)
        return Violation{QStringLiteral("MacroAreaNeverErased"),
                         QStringLiteral("the macro area is all 0xFF")};
    return std::nullopt;
}

std::optional<Violation> World::VerifiedApplyMatchesTheMouse(bool wrote) const
{
    using V = MemoryAccess::Verify;
    const V r = window_->session().lastWriteResult();
    if (!wrote || (r != V::Matched && r != V::Rewritten))
        return std::nullopt;
    // A write of the other program's after the window's last one (in a pump
    // at the end of the same action) is for the next write to find.
    const auto requests = mouse_.requests();
    std::size_t lastWrite = 0;
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (requests[i][1] == WriteDataCmd)
            lastWrite = i + 1;
    if (otherWroteAt_ >= lastWrite && otherWroteAt_ > 0)
        return std::nullopt;
    // All 2048 bytes, but those the mouse changes itself: a verified write
    // leaves the mouse with what the window holds.
    const ImageBytes& img = window_->session().image().ImageBuf;
    for (std::size_t at = 0; at < img.size(); ++at)
        if (img[at] != mouse_.memory[at] &&
            std::find(MouseOwnBytes.begin(), MouseOwnBytes.end(), at) == MouseOwnBytes.end())
            return Violation{
                QStringLiteral("VerifiedApplyMatchesTheMouse"),
                QStringLiteral("a write reported verified left 0x%1 at 0x%2 where the window has 0x%3")
                    .arg(uint(mouse_.memory[at]), 2, 16, QLatin1Char('0'))
                    .arg(qulonglong(at), 3, 16, QLatin1Char('0'))
                    .arg(uint(img[at]), 2, 16, QLatin1Char('0'))};
    return std::nullopt;
}

std::optional<Violation> World::ConfirmLeavesTheMouseAsShown(bool verified, const ImageBytes& shown) const
{
    if (verified && shown != mouse_.memory) {
        const auto at =
            std::mismatch(shown.begin(), shown.end(), mouse_.memory.begin()).first - shown.begin();
        return Violation{QStringLiteral("ConfirmLeavesTheMouseAsShown"),
                         QStringLiteral("the closed window's verified write left 0x%1 different on the mouse")
                             .arg(at, 3, 16, QLatin1Char('0'))};
    }
    return std::nullopt;
}

// The host pointer settings are applied before each write: after a Confirm
// the window started again shows the steps and switches the closed one did.
std::optional<Violation> World::ConfirmKeepsTheHostSettings(bool verified, const HostMouseState& closed) const
{
    // A window whose advanced page never showed has not read the desktop.
    // (A click the run sends to a hidden bar sets one step without a read.)
    const bool closedRead = closed.SpeedStep != 0 && closed.DoubleClickStep != 0 && closed.ScrollStep != 0;
    if (!verified || !closedRead)
        return std::nullopt;
    // The pointer settings are the desktop's: the new window shows them once
    // it reads them, as its advanced page does when shown.
    HostSettingsPanel& panel = window_->advancedPage().hostSettings();
    panel.RefreshMouseSystemParameterA();
    panel.RefreshMouseSystemParameterB();
    const HostMouseState& now = panel.state();
    const auto shown = [](const HostMouseState& h) {
        // One screen at a time: the wheel's step means nothing.
        return std::tuple(h.SpeedStep, h.DoubleClickStep, h.IsScreen ? 0 : h.ScrollStep, h.IsControl,
                          h.IsScreen);
    };
    if (shown(now) != shown(closed))
        return Violation{QStringLiteral("ConfirmKeepsTheHostSettings"),
                         QStringLiteral("steps %1/%2/%3 switches %4/%5 after a Confirm of %6/%7/%8 %9/%10")
                             .arg(now.SpeedStep)
                             .arg(now.DoubleClickStep)
                             .arg(now.ScrollStep)
                             .arg(now.IsControl)
                             .arg(now.IsScreen)
                             .arg(closed.SpeedStep)
                             .arg(closed.DoubleClickStep)
                             .arg(closed.ScrollStep)
                             .arg(closed.IsControl)
                             .arg(closed.IsScreen)};
    return std::nullopt;
}

std::optional<Violation> World::LibraryOutlivesTheWindow(const MacroLibrary& closed, int recordingInto) const
{
    const MacroLibrary& now = macros().library();
    for (int k = 0; k < LibraryEntryCount; ++k)
        if (now.Names[std::size_t(k)] != closed.Names[std::size_t(k)] ||
            (k != recordingInto && now.Records[std::size_t(k)] != closed.Records[std::size_t(k)]))
            return Violation{QStringLiteral("LibraryOutlivesTheWindow"),
                             QStringLiteral("library macro %1 is not what the closed window held").arg(k)};
    return std::nullopt;
}

std::optional<Violation> World::ReopenedWindowReadsTheMouse()
{
    if (mousePresent() && !window_->session().link().hasDevice())
        return Violation{QStringLiteral("ReopenedWindowReadsTheMouse"),
                         QStringLiteral("the window started again does not open the mouse")};
    return std::nullopt;
}

void World::otherWrites(const Action& act)
{
    if (!mousePresent())
        return;
    // A program new to the mouse has a lock object of its own.
    std::unique_ptr<MouseLock> stranger;
    MouseLock* lock = other_.get();
    if (act.d) {
        stranger =
            std::make_unique<MouseLock>(locks_.path(), "sim/mouse-config",
                                        SimHost::lockNodeIn(locks_.path().toStdString(), "sim/mouse-config"));
        lock = stranger.get();
    }
    if (!lock->tryLock())
        return; // the window has the mouse: the other program would wait for it
    mouse_.memory[0x100 + std::size_t(act.a) % (kMemorySize - 0x100)] = std::uint8_t(act.b);
    lock->unlock();
    otherWroteAt_ = mouse_.requests().size();
}

void World::armLostChunk(int nth)
{
    readsToLost_ = std::max(1, nth);
    lostAttempts_ = 0;
}

std::optional<Violation> World::RecordingStaysWithinItsBudget() const
{
    if (macros().Recording() && macros().script().storedSize() > MaxEventBytes)
        return Violation{
            QStringLiteral("RecordingStaysWithinItsBudget"),
            QStringLiteral("the recording holds %1 event bytes").arg(macros().script().storedSize())};
    return std::nullopt;
}

std::optional<Violation> World::RecordingStopsByItsButton(const Action& act, bool wasRecording) const
{
    if (act.kind == Kind::StopRecord && wasRecording && macros().Recording())
        return Violation{QStringLiteral("RecordingStopsByItsButton"),
                         QStringLiteral("the recording runs on after its button was clicked")};
    return std::nullopt;
}

std::optional<Violation> World::WindowKeepsTheSkinsSizeAndMask() const
{
    bool userPage = false;
    for (int n = 1; n <= 4; ++n)
        userPage = userPage || window_->stack().page(n)->isVisible();
    if (!userPage)
        return std::nullopt;
    if (window_->size() != window_->skin().skinSize())
        return Violation{QStringLiteral("WindowKeepsTheSkinsSizeAndMask"),
                         QStringLiteral("a user page shows in a window of %1x%2")
                             .arg(window_->width())
                             .arg(window_->height())};
    // A background that does not cover the window (the placeholder picture
    // set) leaves the whole rectangle; one that covers it cuts the window.
    const auto* base = window_->findChild<QLabel*>(QStringLiteral("Img_Base_1"));
    const bool covers = base && !base->pixmap().isNull() &&
                        base->pixmap().deviceIndependentSize().toSize() == window_->skin().skinSize() &&
                        base->pixmap().hasAlphaChannel();
    if (covers && window_->mask().isEmpty())
        return Violation{QStringLiteral("WindowKeepsTheSkinsSizeAndMask"),
                         QStringLiteral("a user page shows in a window without its mask")};
    return std::nullopt;
}

std::optional<Violation> World::ExactlyOnePageShows() const
{
    int shown = 0;
    for (int n : {1, 2, 3, 4, 6})
        shown += window_->stack().page(n)->isVisible() ? 1 : 0;
    if (shown != 1)
        return Violation{QStringLiteral("ExactlyOnePageShows"), QStringLiteral("%1 pages show").arg(shown)};
    return std::nullopt;
}

std::optional<Violation> World::OverlaysCoverThePagesWithoutAMouse() const
{
    if (!window_->stack().noDeviceUI())
        return std::nullopt;
    for (int n = 1; n <= 4; ++n)
        if (window_->stack().page(n)->isVisible() &&
            window_->stack().overlays()[std::size_t(n - 1)]->isHidden())
            return Violation{QStringLiteral("OverlaysCoverThePagesWithoutAMouse"),
                             QStringLiteral("page %1 shows without its overlay and no mouse").arg(n)};
    return std::nullopt;
}

std::optional<Violation> World::ActionReturnsInBoundedTime(std::int64_t tookMs) const
{
    if (tookMs > kActionBoundMs)
        return Violation{QStringLiteral("ActionReturnsInBoundedTime"),
                         QStringLiteral("the action took %1 ms of virtual time").arg(tookMs)};
    return std::nullopt;
}

std::optional<Violation> World::NoModalDialogIsLeft() const
{
    if (QWidget* m = QApplication::activeModalWidget())
        return Violation{QStringLiteral("NoModalDialogIsLeft"),
                         QStringLiteral("modal %1 stays open").arg(m->objectName())};
    return std::nullopt;
}

// --- The other program on the library file ---

MacroLibrary World::libraryFile() const
{
    MacroLibrary lib;
    QFile f(macros().libraryPath());
    if (f.open(QIODevice::ReadOnly))
        lib.ReadEntries(f.readAll());
    return lib;
}

void World::otherProgramChangesLibrary(int change, int entry)
{
    const LibraryFileLock lock(macros().libraryPath(), {}, 0);
    if (!lock.held())
        return;
    MacroLibrary lib = libraryFile();
    const int count = lib.Count();
    const int k = count > 0 ? entry % count : -1;
    // Lines of its own each time: three keys pressed and released.
    const auto newRecord = [this] {
        const int n = ++otherSerial_;
        MacroScript s;
        s.Lines = QStringList{QStringLiteral("10")};
        for (int digit : {n % 26, n / 26 % 26, n / 676 % 26}) {
            const QChar key = QChar(u'A' + digit);
            const QString code = QStringLiteral("%1").arg(4 + digit, 2, 16, QLatin1Char('0')).toUpper();
            s.Lines << QStringLiteral("1 %1 CODE:82%2").arg(key).arg(code)
                    << QStringLiteral("2 %1 CODE:02%2").arg(key).arg(code);
        }
        return EncodeScript(s, false).record;
    };
    const auto forget = [this](const MacroRecord& r) {
        otherMade_.erase(std::remove(otherMade_.begin(), otherMade_.end(), r), otherMade_.end());
    };
    switch (change % OtherChangeCount) {
    case OtherImport: {
        // Names the name dialog gets from the keys a run types, or one of its own.
        static const char* typed[] = {"a", "m", "z", "am", "a0"};
        const QString name = entry % 2 ? QString::fromLatin1(typed[entry / 2 % 5])
                                       : QStringLiteral("other %1").arg(otherSerial_ + 1);
        int at = -1;
        if (lib.NewEntry(name, &at) != LibraryStatus::Ok)
            return;
        lib.Records[std::size_t(at)] = newRecord();
        otherMade_.push_back(lib.Records[std::size_t(at)]);
        break;
    }
    case OtherRename:
        if (k < 0)
            return;
        otherTouched_ << MacroNameText(lib.Names[std::size_t(k)]);
        if (lib.Rename(k, QStringLiteral("other %1").arg(++otherSerial_)) != LibraryStatus::Ok)
            return;
        break;
    case OtherDelete:
        if (k < 0)
            return;
        otherTouched_ << MacroNameText(lib.Names[std::size_t(k)]);
        forget(lib.Records[std::size_t(k)]);
        lib.Delete(k);
        break;
    case OtherRecord:
        if (k < 0)
            return;
        otherTouched_ << MacroNameText(lib.Names[std::size_t(k)]);
        forget(lib.Records[std::size_t(k)]);
        lib.Records[std::size_t(k)] = newRecord();
        otherMade_.push_back(lib.Records[std::size_t(k)]);
        break;
    }
    if (SaveLibrary(lib, macros().libraryPath()).ok)
        otherPending_ = true;
}

void World::beforeLibraryAction()
{
    QFile f(macros().libraryPath());
    fileBefore_ = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    libraryBefore_ = macros().library();
}

bool World::tookInOthersChanges(const Action& act)
{
    tookIn_ = false;
    if (act.kind == Kind::OtherLibrary || !otherPending_)
        return false;
    QFile f(macros().libraryPath());
    const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (now == fileBefore_)
        return false;
    otherPending_ = false;
    tookIn_ = true;
    return true;
}

// --- Invariants of the shared library ---

// Whatever the other program made stays in the library file until the
// window has taken it in, and is in the window's library then.
std::optional<Violation> World::OtherProgramsLibraryChangesStay()
{
    const MacroLibrary& window = macros().library();
    const MacroLibrary file = libraryFile();
    const auto holds = [](const MacroLibrary& lib, const MacroRecord& r) {
        for (int k = 0; k < lib.Count(); ++k)
            if (lib.Records[std::size_t(k)] == r)
                return true;
        return false;
    };
    for (auto it = otherMade_.begin(); it != otherMade_.end();) {
        if (holds(window, *it)) {
            it = otherMade_.erase(it); // the window's now, as any of its macros
            continue;
        }
        if (!holds(file, *it) || tookIn_)
            return Violation{QStringLiteral("OtherProgramsLibraryChangesStay"),
                             QStringLiteral("a macro the other program made is %1")
                                 .arg(tookIn_ ? QStringLiteral("not in the window's library after its save")
                                              : QStringLiteral("gone from the library file"))};
        ++it;
    }
    return std::nullopt;
}

// A save that took in the other program's changes keeps the window's own:
// every macro the other program did not touch is there with its lines (the
// open one at least by its name, its lines may just have been edited).
std::optional<Violation> World::WindowsLibraryChangesStay(bool aimedAtLibrary) const
{
    if (!tookIn_ || aimedAtLibrary)
        return std::nullopt;
    const MacroLibrary& now = macros().library();
    const QStringList names = now.NameList();
    for (int k = 0; k < libraryBefore_.Count(); ++k) {
        const QString name = MacroNameText(libraryBefore_.Names[std::size_t(k)]);
        if (otherTouched_.contains(name))
            continue;
        bool kept = false;
        for (int j = 0; j < now.Count() && !kept; ++j)
            kept = (k == open_ || now.Records[std::size_t(j)] == libraryBefore_.Records[std::size_t(k)]) &&
                   (names.at(j) == name || (k != open_ && !libraryBefore_.NameList().contains(names.at(j))));
        if (!kept)
            return Violation{QStringLiteral("WindowsLibraryChangesStay"),
                             QStringLiteral("the window's macro \"%1\" is lost").arg(name)};
    }
    return std::nullopt;
}

std::optional<Violation> World::TheFileHoldsTheWindowsLibraryAfterASave() const
{
    QFile f(macros().libraryPath());
    const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (now == fileBefore_ || now == macros().library().ToBytes())
        return std::nullopt;
    // Changed by the other program in this action: not the window's save.
    if (otherPending_ && !tookIn_)
        return std::nullopt;
    return Violation{QStringLiteral("TheFileHoldsTheWindowsLibraryAfterASave"),
                     QStringLiteral("the library file differs from the window's library after a save")};
}

// After the window took in the other program's changes, the open macro's
// lines are the library's.
std::optional<Violation> World::OpenMacroShowsWhatTheLibraryHolds() const
{
    const int k = macros().SelectedLibraryMacro();
    if (!tookIn_ || macros().Recording() || k < 0)
        return std::nullopt;
    if (ScriptLines(macros().script()) != RecordLines(macros().library().Records[std::size_t(k)]))
        return Violation{QStringLiteral("OpenMacroShowsWhatTheLibraryHolds"),
                         QStringLiteral("macro %1 shows lines the library does not hold").arg(k)};
    return std::nullopt;
}

// No pointer setting of the desktop differs from what the desktop last had
// (at the start, or as another program set it), unless the user worked that
// setting's control in this action: then the desktop has the user's value.
std::optional<Violation> World::DesktopSettingsChangeOnlyWhereTheUserChangedThem()
{
    std::optional<Violation> found;
    for (HostSetting setting :
         {HostSetting::Speed, HostSetting::Acceleration, HostSetting::DoubleClick, HostSetting::WheelLines})
        for (const QString& name : DesktopNames(setting)) {
            const QString now = hostSystem_.current[name], last = desktopLast_[name];
            if (now != last && !userTouched_.count(setting) && !found)
                found = Violation{QStringLiteral("DesktopSettingsChangeOnlyWhereTheUserChangedThem"),
                                  QStringLiteral("%1 was %2 on the desktop, now %3").arg(name, last, now)};
        }
    desktopLast_ = hostSystem_.current;
    return found;
}

// Driven from the keyboard, the focus never rests on a control no one sees:
// a hidden page's, a closed menu's.
// A click the run sends to a hidden control (no user can) may leave the
// focus there: only a key that moved the focus, or a control that hid under
// it, counts.
std::optional<Violation> World::FocusStaysOnWhatShows(const Action& act, const QWidget* before,
                                                      bool wasVisible) const
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !window_->isActiveWindow() || focus->window() != window_.get())
        return std::nullopt;
    const bool byKey = act.kind == Kind::Key || act.kind == Kind::KeyWalk;
    const bool hidUnderIt = focus == before && wasVisible;
    if (!focus->isVisible() && (hidUnderIt || (byKey && focus != before)))
        return Violation{QStringLiteral("FocusStaysOnWhatShows"),
                         QStringLiteral("the focus is on the hidden %1").arg(focus->objectName())};
    return std::nullopt;
}

void World::performKeyWalk(const Action& act)
{
    const auto target = [this]() -> QWidget* {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup;
        if (QWidget* w = QApplication::focusWidget())
            return w;
        return window_.get();
    };
    const int tabs = std::abs(act.a);
    for (int n = 0; n < tabs && window_->isVisible(); ++n)
        QTest::keyClick(target(), act.a < 0 ? Qt::Key_Backtab : Qt::Key_Tab,
                        act.a < 0 ? Qt::ShiftModifier : Qt::NoModifier);
    if (!window_->isVisible() || act.b < 0 || act.b >= int(std::size(kWalkKeys)))
        return;
    const auto [key, modifiers] = kWalkKeys[act.b];
    QWidget* w = target();
    QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

// The macro the page shows: taken as open when the lines shown change to a
// library macro's lines at the selected row (opened by a click, or by a
// selection that opens); closed when the lines and the selection go.
// After an action aimed at the library the page's own choice is taken.
void World::followOpenMacro(bool aimedAtLibrary)
{
    auto* list = window_->findChild<QListWidget*>(QStringLiteral("LB_PCMacroName"));
    const int row = macros().SelectedLibraryMacro();
    const std::vector<QString> lines = ScriptLines(macros().script());
    const bool changed = lines != shownLines_ || (list && list->currentRow() != shownRow_);
    shownLines_ = lines;
    shownRow_ = list ? list->currentRow() : -1;
    if (macros().Recording())
        return; // the lines grow; the macro recorded into stays the open one
    if (aimedAtLibrary) {
        open_ = row;
        return;
    }
    if (!changed)
        return;
    if (row >= 0 && lines == RecordLines(macros().library().Records[std::size_t(row)]))
        open_ = row;
    else if (row < 0 && lines.empty())
        open_ = -1;
}

void World::plantStoreIntoCurrentRow()
{
    auto* library = window_->findChild<QListWidget*>(QStringLiteral("LB_PCMacroName"));
    auto* lines = window_->findChild<QListWidget*>(QStringLiteral("LB_macro"));
    if (!library || !lines)
        return;
    const auto store = [this, library] {
        const int row = library->currentRow();
        if (row < 0 || row >= macros().library().Count() || macros().script().itemCount() == 0)
            return;
        MacroRecord& record = macros().library().Records[std::size_t(row)];
        if (ScriptLines(macros().script()) == RecordLines(record))
            return; // the lines were just opened from it
        record = EncodeScript(macros().script(), macros().ReleaseStopChosen()).record;
    };
    QAbstractItemModel* model = lines->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, store);
    connect(model, &QAbstractItemModel::rowsRemoved, this, store);
    connect(model, &QAbstractItemModel::dataChanged, this, store);
}

// --- Generation ---

Action World::generate(std::mt19937_64& rng)
{
    auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, std::max(0, n - 1))(rng)); };
    auto chance = [&](int percent) { return pick(100) < percent; };
    Action act;

    // A control by name: mostly shown ones, sometimes any; mostly ones
    // that take input, sometimes pictures and captions (which may have
    // filters of their own).
    enum class Want { Any, Lists, Frame, Logo, MacroPage };
    QWidget* macroPage = window_->stack().page(4);
    QList<QWidget*> macroMenus;
    for (const char* n : {"Pnl_PCMacro", "Pnl_DevContent"})
        if (QWidget* m = window_->findChild<QWidget*>(QLatin1String(n)))
            macroMenus << m;
    auto pickTarget = [&](bool shownOnly, Want want) -> bool {
        const QList<QWidget*> all = namedWidgets();
        const bool inputOnly = want == Want::Any && !chance(25);
        QList<QWidget*> candidates;
        for (QWidget* w : all) {
            if (shownOnly && !w->isVisible())
                continue;
            if (w == window_.get())
                continue;
            const QString n = w->objectName();
            switch (want) {
            case Want::Lists:
                if (!qobject_cast<QAbstractItemView*>(w))
                    continue;
                break;
            case Want::Frame:
                if (!IsFrameButton(n))
                    continue;
                break;
            case Want::Logo:
                if (!n.startsWith(QLatin1String("Img_Logo")))
                    continue;
                break;
            case Want::Any:
                if (inputOnly && !TakesInput(w))
                    continue;
                break;
            case Want::MacroPage: {
                // The page, its menus and the dialogs it opens (windows of their own).
                bool mine = macroPage->isAncestorOf(w) || w->window() != window_.get();
                for (QWidget* m : macroMenus)
                    mine = mine || m == w || m->isAncestorOf(w);
                if (!mine || !TakesInput(w))
                    continue;
                break;
            }
            }
            candidates << w;
        }
        if (candidates.isEmpty())
            return false;
        QWidget* w = candidates[pick(int(candidates.size()))];
        if (want == Want::Frame && chance(25))
            for (QWidget* c : candidates)
                if (c->objectName().startsWith(QLatin1String("Btn_Macro_")))
                    w = c;
        // Controls that close the window are taken like any other: the
        // run checks what outlives the window and starts a new one.
        act.target = w->objectName();
        act.index = 0;
        for (QWidget* x : all) {
            if (x == w)
                break;
            if (x->objectName() == act.target)
                ++act.index;
        }
        act.a = pick(1000);
        act.b = pick(1000);
        return true;
    };

    const bool recording = macros().Recording();
    // Without the mouse nothing but the frame works: it comes back soon.
    if (!mousePresent() && chance(15)) {
        act.kind = Kind::Plug;
        return act;
    }
    const int roll = pick(100);
    if (recording && roll < 25) {
        act.kind = Kind::Feed;
        act.d = chance(80) ? 0 : 1;
        act.a = act.d == 0 ? int("ASDF1234\x10\x11\x20\x0D"[pick(12)]) : pick(5);
        act.b = chance(50);
        act.c = chance(30) ? pick(20000) : pick(300);
        return act;
    }
    if (recording && roll < 28) {
        act.kind = Kind::StopRecord;
        return act;
    }
    if (roll < 55) {
        act.kind = Kind::Click;
        const int how = pick(100);
        act.c = how < 12 ? 1 : how < 22 ? 2 : 0;
        const int which = pick(100);
        const bool onMacroPage = macroPage->isVisible();
        const Want want = which < 15                  ? Want::Frame
                          : which < 17                ? Want::Logo
                          : which < 40 && onMacroPage ? Want::Lists
                          : which < 65 && onMacroPage ? Want::MacroPage
                                                      : Want::Any;
        if (want == Want::Logo)
            act.c = 2;
        // Ctrl and Shift clicks: a list's row deselected or a range chosen.
        if (want == Want::Lists && act.c == 0)
            act.d = chance(10) ? int(Qt::ControlModifier) : chance(5) ? int(Qt::ShiftModifier) : 0;
        if (pickTarget(want != Want::Any || !chance(12), want))
            return act;
    } else if (roll < 60) {
        act.kind = Kind::Drag;
        if (pickTarget(true, Want::Lists)) {
            act.c = pick(1000);
            act.d = pick(1000);
            return act;
        }
    } else if (roll < 78 && chance(40)) {
        act = Action{};
        act.kind = Kind::KeyWalk;
        act.a = chance(25) ? -1 - pick(3) : pick(8);
        act.b = pick(int(std::size(kWalkKeys)));
        return act;
    } else if (roll < 78) {
        act.kind = Kind::Key;
        act.a = kKeys[pick(int(std::size(kKeys)))];
        // Ctrl moves a list's current row without selecting it.
        act.b = chance(10) ? int(Qt::ShiftModifier) : chance(15) ? int(Qt::ControlModifier) : 0;
        return act;
    } else if (roll < 81) {
        act = Action{};
        const int which = pick(100);
        if (which < 60) {
            act.kind = Kind::OtherWrites;
            act.a = pick(kMemorySize - 0x100);
            act.b = pick(256);
            act.c = chance(50) ? 0 : 1 + pick(chance(50) ? 5 : 300);
            act.d = chance(30);
        } else if (which < 80) {
            act.kind = Kind::KeyTest;
        } else {
            act.kind = Kind::LoseChunk;
            act.a = 1 + pick(chance(50) ? 50 : 342);
        }
        return act;
    } else if (roll < 85) {
        act = Action{};
        act.kind = Kind::Advance;
        act.a = chance(50) ? pick(400) : pick(9000);
        // Some of the short ones: another program changes a pointer setting meanwhile.
        if (act.a < 60) {
            act.kind = Kind::DesktopSet;
            act.b = act.a / 4;
            act.a %= 4;
        }
        return act;
    } else if (roll < 86) {
        act.kind = Kind::Unplug;
        return act;
    } else if (roll < 90) {
        act.kind = Kind::Plug;
        return act;
    } else if (roll < 91) {
        act.kind = Kind::UnplugAt;
        act.a = 1 + pick(8);
        act.b = 1 + pick(chance(50) ? 4 : 350);
        return act;
    } else if (roll < 96) {
        act.kind = Kind::PumpClick;
        if (pickTarget(true, chance(30) ? Want::Frame : Want::Any)) {
            act.c = 1 + pick(chance(50) ? 3 : 300);
            return act;
        }
    } else if (roll < 99 && chance(50)) {
        act = Action{};
        act.kind = Kind::OtherLibrary;
        act.a = pick(OtherChangeCount);
        act.b = pick(200);
        return act;
    } else if (roll < 99) {
        act = Action{};
        act.kind = Kind::QueueFile;
        act.a = pick(FileKindCount);
        return act;
    } else {
        act = Action{};
        act.kind = Kind::PassAnswer;
        act.a = pick(3);
        return act;
    }
    act = Action{};
    act.kind = Kind::Advance;
    act.a = pick(200);
    return act;
}

// --- Runs ---

RunResult Replay(const Sequence& actions, const Options& options)
{
    RunResult result;
    World world(options);
    if (!world.start()) {
        result.violation =
            Violation{QStringLiteral("Start"), QStringLiteral("the window did not read the mouse")};
        return result;
    }
    for (const Action& act : actions) {
        if (world.closed())
            break;
        ++result.actionsRun;
        if (auto v = world.run(act)) {
            result.violation = v;
            break;
        }
    }
    return result;
}

SeedResult RunSeed(std::uint64_t seed, int count, const Options& options)
{
    SeedResult result;
    std::mt19937_64 rng(seed);
    World world(options);
    if (!world.start()) {
        result.violation =
            Violation{QStringLiteral("Start"), QStringLiteral("the window did not read the mouse")};
        return result;
    }
    for (int i = 0; i < count && !world.closed(); ++i) {
        const Action act = world.generate(rng);
        result.actions.push_back(act);
        if (auto v = world.run(act)) {
            result.violation = v;
            break;
        }
    }
    return result;
}

Sequence Shrink(const Sequence& failing, const QString& invariant, const Options& options, int maxRuns)
{
    Sequence best = failing;
    int runs = 0;
    auto stillFails = [&](const Sequence& s) {
        ++runs;
        const RunResult r = Replay(s, options);
        return r.violation && r.violation->invariant == invariant;
    };
    for (std::size_t chunk = std::max<std::size_t>(1, best.size() / 2); chunk >= 1 && runs < maxRuns;) {
        bool removed = false;
        for (std::size_t at = 0; at < best.size() && runs < maxRuns;) {
            Sequence trial;
            trial.reserve(best.size());
            for (std::size_t i = 0; i < best.size(); ++i)
                if (i < at || i >= at + chunk)
                    trial.push_back(best[i]);
            if (!trial.empty() && stillFails(trial)) {
                best = std::move(trial);
                removed = true;
            } else {
                at += chunk;
            }
        }
        if (!removed) {
            if (chunk == 1)
                break;
            chunk /= 2;
        }
    }
    return best;
}

QString Report(std::uint64_t seed, const Violation& v, const Sequence& shrunk)
{
    QString out = QStringLiteral("seed %1: %2: %3\nshortest sequence (%4 actions):\n")
                      .arg(seed)
                      .arg(v.invariant, v.detail)
                      .arg(shrunk.size());
    for (const Action& a : shrunk)
        out += QStringLiteral("  %1\n").arg(a.describe());
    return out;
}

} // namespace orb::interact
