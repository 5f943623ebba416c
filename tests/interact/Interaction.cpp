#include "Interaction.h"

#include "app/pages/engineer/PassDialog.h"
#include "image/ProfileFile.h"
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
#include <QPushButton>
#include <QRegion>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <map>

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

// Controls whose click closes the window: they end a run, so they are picked rarely.
bool ClosesWindow(const QString& name)
{
    return name.contains(QLatin1String("Confirm")) || name.contains(QLatin1String("Exit")) ||
           name == QLatin1String("Btn_Close") || name.startsWith(QLatin1String("Btn_Mini")) ||
           name.startsWith(QLatin1String("Img_Mini"));
}

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
    for (int k = 0; k <= int(Kind::KeyWalk); ++k)
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
    std::optional<Violation> FocusStaysOnWhatShows() const;
    // Tabs, then one key, as a keyboard user drives the window.
    void performKeyWalk(const Action& act);
    void followOpenMacro(bool aimedAtLibrary);
    bool mousePresent();
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
    // Armed clicks inside a pump: pumps to go, and the click.
    std::optional<std::pair<int, Action>> pumpClick_;
    bool pumpClickFired_ = false;
    int passAnswer_ = 0;
    std::uint32_t captureTime_ = 1000;
    int files_ = 0;
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
    MacroPageDeps deps{[this] {
                           auto c = std::make_unique<FakeInputCapture>();
                           capture_ = c.get();
                           return c;
                       },
                       folder_.path() + QLatin1Char('/'), folder_.path() + QStringLiteral("/data")};
    window_ = std::make_unique<MainWindow>(MainWindowDeps{clock_, services_, host_, kVendor, hostStore_,
                                                          hostSystem_, deps,
                                                          QLocale(QLocale::English, QLocale::UnitedStates)});
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        return false;
    // Active, so that keys reach the control with the focus.
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get()))
        return false;
    clock_.advance(3500);
    if (!window_->session().link().hasDevice())
        return false;
    QTest::mouseMove(window_.get(), QPoint(1, 1));
    clock_.setPumpHook([this] {
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
    requestsSeen_ = mouse_.requests().size();
    return true;
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
        // Space or Enter on a control that closes the window would end the
        // run as a click on it would; those are picked rarely by clicks.
        const bool activates = act.a == Qt::Key_Space || act.a == Qt::Key_Return || act.a == Qt::Key_Enter;
        if (activates && ClosesWindow(w->objectName()))
            break;
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
        } else if (act.a == SaveTarget) {
            services_.saveAnswers.push_back(writeFile(SaveTarget));
        } else {
            services_.openAnswers.push_back(writeFile(act.a));
        }
        break;
    }
    case Kind::PassAnswer:
        passAnswer_ = act.a;
        break;
    case Kind::StopRecord: {
        const bool insert = macros().InsertRecording();
        if (QWidget* w = resolve(insert ? QStringLiteral("Btn_InsertStart") : QStringLiteral("Btn_Start"), 0))
            click(w, w->rect().center(), 0);
        QCoreApplication::processEvents();
        break;
    }
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
    const std::int64_t t0 = clock_.nowMs();
    pumpClickFired_ = false;
    perform(act);
    aimed = aimed || pumpClickFired_;
    if (!window_->isVisible())
        return std::nullopt; // closed: nothing more to check
    bool wrote = false;
    const auto requests = mouse_.requests();
    for (std::size_t i = before; i < requests.size(); ++i)
        wrote = wrote || requests[i][1] == 7;

    using Check = std::optional<Violation>;
    for (const Check& c : {
             LibraryChangesOnlyThroughAimedActions(aimed),
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
             FocusStaysOnWhatShows(),
         })
        if (c && !options_.ignored.contains(c->invariant) &&
            (options_.only.isEmpty() || options_.only == c->invariant))
            return c;
    followOpenMacro(aimed);
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
        if (MacroRecordEmpty(r))
            continue;
        if (r[1] > MaxLengthByte)
            return Violation{
                QStringLiteral("LibraryRecordsFitAndDecode"),
                QStringLiteral("library macro %1 holds %2 event bytes").arg(k).arg(int(r[1]) - 1)};
        MacroRecord copy = r;
        if (CheckMacroContentBuf(copy) || !DecodeRecord(r).complete)
            return Violation{QStringLiteral("LibraryRecordsFitAndDecode"),
                             QStringLiteral("library macro %1 does not decode").arg(k)};
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
    const ImageBytes& img = window_->session().image().ImageBuf;
    if (!std::equal(img.begin(), img.begin() + kVerifySize, mouse_.memory.begin()))
        return Violation{QStringLiteral("VerifiedApplyMatchesTheMouse"),
                         QStringLiteral("a write reported verified differs from the mouse's memory")};
    return std::nullopt;
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

// Driven from the keyboard, the focus never rests on a control no one sees:
// a hidden page's, a closed menu's.
std::optional<Violation> World::FocusStaysOnWhatShows() const
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !window_->isActiveWindow() || focus->window() != window_.get())
        return std::nullopt;
    if (!focus->isVisible())
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
    if ((key == Qt::Key_Space || key == Qt::Key_Return) && ClosesWindow(w->objectName()))
        return; // as for Kind::Key
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
        if (ClosesWindow(w->objectName()) && !chance(1))
            w = candidates[pick(int(candidates.size()))];
        if (ClosesWindow(w->objectName()))
            return false;
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
    } else if (roll < 85) {
        act = Action{};
        act.kind = Kind::Advance;
        act.a = chance(50) ? pick(400) : pick(9000);
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
