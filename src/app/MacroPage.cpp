// The macro page: the mouse's seven macro slots, the macro library and its
// file, the open macro as a script shown in LB_macro, and recording from
// the keyboard and mouse buttons through the input capture.
#include "app/MacroPage.h"

#include "app/AppInfo.h"
#include "app/ButtonHover.h"
#include "app/ClickLabel.h"
#include "app/DeviceSession.h"
#include "app/InsertPanel.h"
#include "app/MacroEditor.h"
#include "app/MacroList.h"
#include "app/PageStack.h"
#include "app/RecordInput.h"
#include "app/Skin.h"
#include "device/MemoryAccess.h"
#include "macros/MacroRecorder.h"
#include "skin/CaptionTexts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardPaths>

namespace orb
{

namespace
{
// Context menus of the macro page; they close with the key menu.
constexpr const char* kMacroPagePopups[] = {"Pnl_PCMacro", "Pnl_DevContent"};
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)|*.bin");
const QString kSaveFilter = QStringLiteral("SaveFile(*.bin)|*.bin");
const QColor kGrey(114, 113, 113);
constexpr QSize kPictureButton(110, 27);

// The delay choices of the box, in the order of their layout rows.
struct DelayOption {
    const char* radio;
    const char* marker;
    const char* label;
    const char* textKey;
};
constexpr DelayOption kDelayOptions[] = {
    {"rb_RecDelay", "LED_RecDelay", "IB_RecDelay", "Str414"},
    {"rb_DelayTime", "LED_DelayTime", "IB_DelayTime", "Str415"},
    {"rb_NoDelay", "LED_NoDelay", "IB_NoDelay", "Str416"},
};
constexpr int kOptionBlanks = 7;

QString rgb(const QColor& c)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QColor toColour(const Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}

void setTextColour(QWidget* w, const QColor& c)
{
    if (!w)
        return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}
} // namespace

MacroPage::MacroPage(const PageContext& context, MacroPageDeps deps)
    : Page(context, 4), deps_(std::move(deps)), Recorder(std::make_unique<MacroRecorder>(Script))
{
    input_ = std::make_unique<RecordInput>(
        deps_.inputCapture, [this](int vk, int state, std::uint32_t t) { onKey(vk, state, t); },
        [this](int event, std::uint32_t t) { onButton(event, t); });
    build();
}

MacroPage::~MacroPage()
{
    input_.reset(); // no event reaches the page while it goes
}

void MacroPage::build()
{
    QWidget* page = container();

    pcList_ = new QListWidget(page);
    pcList_->setObjectName(QStringLiteral("LB_PCMacroName"));
    pcList_->setGeometry(160, 176, 222, 304);
    pcRows_ = new MacroListDelegate(false, pcList_);
    pcList_->setItemDelegate(pcRows_);
    connect(pcList_, &QListWidget::clicked, this, [this] { LB_PCMacroNameClick(); });

    // The mouse's slot names: kept for the key captions, never shown.
    deviceList_ = new QListWidget(page);
    deviceList_->setObjectName(QStringLiteral("LB_MacroName"));
    deviceRows_ = new MacroListDelegate(false, deviceList_);
    deviceList_->setItemDelegate(deviceRows_);
    deviceList_->hide();

    lineList_ = new QListWidget(page);
    lineList_->setObjectName(QStringLiteral("LB_macro"));
    lineList_->setGeometry(400, 176, 198, 304);
    lineRows_ = new MacroListDelegate(true, lineList_);
    lineList_->setItemDelegate(lineRows_);
    lineList_->setUniformItemSizes(true);
    connect(lineList_, &QListWidget::clicked, this, [this] { HideAllMenu(); }); // ClearMacro
    editor_ = new MacroEditor(*this, lineList_, pcList_, window(), skin(), hover(),
                              [this](const QString& text) { session().RefreshFormMessagDialog(text); });

    // Record / stop: a caption over its picture.
    auto* startPicture = new QLabel(page);
    startPicture->setObjectName(QStringLiteral("Img_Start"));
    startPicture->setGeometry(QRect(QPoint(666, 216), kPictureButton));
    startButton_ = new ClickLabel(page);
    startButton_->setObjectName(QStringLiteral("Btn_Start"));
    startButton_->setGeometry(startPicture->geometry());
    startButton_->setAlignment(Qt::AlignCenter);
    hover().wireButtonVisuals(startButton_);
    connect(startButton_, &ClickLabel::clicked, this, [this] { Btn_StartClick(); });
    connect(startButton_, &ClickLabel::entered, this, [this] { SetPointerOnRecordButton(true); });
    connect(startButton_, &ClickLabel::left, this, [this] { SetPointerOnRecordButton(false); });

    // The delay box: three delay choices, the fixed delay, the release mode.
    delayBox_ = new QWidget(page);
    delayBox_->setObjectName(QStringLiteral("Gb_Delay"));
    delayBox_->setGeometry(616, 292, 230, 170);
    for (int i = 0; i < 3; ++i) {
        const DelayOption& o = kDelayOptions[i];
        auto* radio = new QRadioButton(delayBox_);
        radio->setObjectName(QLatin1String(o.radio));
        radio->hide();
        auto* marker = new QLabel(delayBox_);
        marker->setObjectName(QLatin1String(o.marker));
        auto* label = new ClickLabel(delayBox_);
        label->setObjectName(QLatin1String(o.label));
        label->resize(150, 20);
        connect(label, &ClickLabel::clicked, this, [this, i] { chooseDelay(i); });
        (i == 0 ? rbRecDelay_ : i == 1 ? rbDelayTime_ : rbNoDelay_) = radio;
    }
    delayEdit_ = new QLineEdit(delayBox_);
    delayEdit_->setObjectName(QStringLiteral("Edt_Delay"));
    delayEdit_->setGeometry(137, 60, 44, 20);
    delayEdit_->setText(QStringLiteral("50"));
    connect(delayEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Edt_DelayChange: above 2040 becomes 2040, below 0 becomes 0.
        if (text.isEmpty() || text == QLatin1String("-"))
            return;
        const QString clamped = QString::number(ClampDelayText(text));
        if (clamped != text)
            delayEdit_->setText(clamped);
    });
    const std::pair<const char*, const char*> releases[] = {{"Img_ReleaseStop", "IB_ReleaseStop"},
                                                            {"Img_ReleaseContiue", "IB_ReleaseContiue"}};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(delayBox_);
        radio->setObjectName(i == 0 ? QStringLiteral("rb_ReleaseStop")
                                    : QStringLiteral("rb_ReleaseContinue"));
        radio->setAutoExclusive(false);
        radio->hide();
        (i == 0 ? rbReleaseStop_ : rbReleaseContinue_) = radio;
        auto* marker = new QLabel(delayBox_);
        marker->setObjectName(QLatin1String(releases[i].first));
        auto* label = new ClickLabel(delayBox_);
        label->setObjectName(QLatin1String(releases[i].second));
        label->resize(200, 20);
        connect(label, &ClickLabel::clicked, this, [this, i] { chooseRelease(i == 0); });
    }
    chooseDelay(0);
    chooseRelease(false);
}

// --- Choices ---

void MacroPage::chooseDelay(int mode)
{
    QRadioButton* radios[] = {rbRecDelay_, rbDelayTime_, rbNoDelay_};
    radios[mode]->setChecked(true);
    for (int i = 0; i < 3; ++i)
        skin().SetPicture(QLatin1String(kDelayOptions[i].marker),
                          i == mode ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
    // Only the fixed delay is typed; the others show it greyed.
    delayEdit_->setEnabled(true);
    delayEdit_->setReadOnly(mode != 1);
    setTextColour(delayEdit_, mode == 1 ? fontColour_ : kGrey);
}

void MacroPage::chooseRelease(bool stop)
{
    rbReleaseStop_->setChecked(stop);
    rbReleaseContinue_->setChecked(!stop);
    skin().SetPicture(QStringLiteral("Img_ReleaseStop"),
                      stop ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
    skin().SetPicture(QStringLiteral("Img_ReleaseContiue"),
                      stop ? QStringLiteral("RdS_D") : QStringLiteral("RdS_E"));
}

bool MacroPage::ReleaseStopChosen() const
{
    return rbReleaseStop_->isChecked();
}

RecordSettings MacroPage::recordSettings() const
{
    RecordSettings s;
    s.normal.mode = rbDelayTime_->isChecked() ? DelayMode::Fixed
                    : rbNoDelay_->isChecked() ? DelayMode::None
                                              : DelayMode::Recorded;
    s.normal.fixedMs = ClampDelayText(delayEdit_->text());
    // The insert panel's choice, where the editor has built it.
    const auto checked = [this](const char* name) {
        auto* r = window()->findChild<QRadioButton*>(QLatin1String(name));
        return r && r->isChecked();
    };
    s.insert.mode = checked("rb_InsertDelayTime") ? DelayMode::Fixed
                    : checked("rb_InsertNoDelay") ? DelayMode::None
                                                  : DelayMode::Recorded;
    if (auto* edit = window()->findChild<QLineEdit*>(QStringLiteral("Edt_InsertDelay")))
        s.insert.fixedMs = ClampDelayText(edit->text());
    if (auto* kind = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert")))
        s.insertAfter = kind->currentIndex() == 3;
    return s;
}

// --- Device slots ---

QStringList MacroPage::BaseMacroNames() const
{
    return DeviceMacroNameList(Device);
}

int MacroPage::FindBaseMacroCount(int c, std::span<const QString> modeACodes,
                                  std::span<const QString> modeBCodes) const
{
    if (c < 0 || c >= LibraryEntryCount || LibraryNameEmpty(Library.Names[std::size_t(c)]))
        return NoSlot;
    return orb::FindBaseMacroCount(modeACodes, modeBCodes, Library.Names[std::size_t(c)], Device);
}

QString MacroPage::PutLibraryMacroInSlot(int c, int slot)
{
    if (c < 0 || c >= LibraryEntryCount)
        return {};
    const QString code =
        PutMacroInSlot(Device, slot, Library.Names[std::size_t(c)], Library.Records[std::size_t(c)]);
    if (code.isEmpty())
        return {};
    fillNameLists();
    RefreshBaseMacroBuf(Device, image().MacroArea);
    return code;
}

void MacroPage::fillNameLists()
{
    // RefreshMacroName: slot n at row n - 1, empty slots as empty rows.
    deviceList_->clear();
    deviceList_->addItems(BaseMacroNames());
}

void MacroPage::RefreshMacrosFromArea()
{
    Device = ReadAndRefreshMacro(image().MacroArea);
    fillNameLists();
}

void MacroPage::UIToDataBuf()
{
    RefreshBaseMacroBuf(Device, image().MacroArea);
}

// --- Library ---

void MacroPage::CheckPCMacro()
{
    const QString programFolder = deps_.programFolder.isEmpty()
                                      ? QCoreApplication::applicationDirPath() + QLatin1Char('/')
                                      : deps_.programFolder;
    // The data folder does not follow the language's application title.
    const QString dataFolder =
        deps_.dataFolder.isEmpty()
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                  .filePath(kApplicationTitle)
            : deps_.dataFolder;
    LibraryPath = MacroLibraryFilePath(skin().org().Path, programFolder, dataFolder);
    const CheckResult r = orb::CheckPCMacro(Library, LibraryPath);
    if (r.fromFile && !r.read.ok) {
        // Keep the user's file as it is: the library runs in memory.
        sayCannotSave(r.read.error);
    } else if (!r.fromFile && !r.save.ok) {
        sayCannotSave(r.save.error);
    }
}

bool MacroPage::RefreshPCMacro()
{
    if (CannotSaveSaid)
        return false; // said once; the library lives in memory
    const FileResult r = SaveLibrary(Library, LibraryPath);
    if (!r.ok)
        sayCannotSave(r.error);
    return r.ok;
}

void MacroPage::sayCannotSave(const QString& error)
{
    if (CannotSaveSaid)
        return;
    CannotSaveSaid = true;
    session().services().showMessage(
        QStringLiteral("The macro library %1 cannot be saved (%2). Macro changes are kept only until the "
                       "program closes.")
            .arg(QDir::toNativeSeparators(LibraryPath), error),
        MessageStyle::PlainBox);
}

void MacroPage::RefreshPCMacroName()
{
    const QStringList names = Library.NameList();
    pcList_->clear();
    pcList_->addItems(names);
    pcList_->scrollToBottom();
    if (auto* keyMacros = window()->findChild<QListWidget*>(QStringLiteral("LB_Name"))) {
        keyMacros->clear();
        keyMacros->addItems(names);
    }
    const bool full = names.size() >= LibraryEntryCount;
    for (const char* name : {"Btn_NewMacro", "Btn_New"})
        if (QWidget* w = window()->findChild<QWidget*>(QLatin1String(name)))
            w->setEnabled(!full);
}

void MacroPage::RefreshPCMacroNames()
{
    RefreshPCMacroName();
}

int MacroPage::SelectedLibraryMacro() const
{
    const int row = pcList_->currentRow();
    if (row < 0 || row >= Library.Count() || !pcList_->currentItem() || !pcList_->currentItem()->isSelected())
        return -1;
    return row;
}

void MacroPage::LB_PCMacroNameClick()
{
    HideAllMenu();
    Script.clear();
    lineList_->clear();
    const int k = SelectedLibraryMacro();
    if (k < 0)
        return;
    const MacroRecord& record = Library.Records[std::size_t(k)];
    if (MacroRecordEmpty(record))
        return;
    const DecodedMacro decoded = DecodeRecord(record);
    if (decoded.releaseStop)
        chooseRelease(*decoded.releaseStop);
    Script = decoded.script;
    switch (decoded.delay.mode) {
    case DelayMode::Recorded:
        chooseDelay(0);
        break;
    case DelayMode::Fixed:
        delayEdit_->setText(QString::number(decoded.delay.fixedMs));
        chooseDelay(1);
        break;
    case DelayMode::None:
        chooseDelay(2);
        break;
    }
    RefreshMacroList(Script.itemCount() - 1);
}

void MacroPage::StoreScript()
{
    const int k = SelectedLibraryMacro();
    if (k < 0)
        return;
    Library.Records[std::size_t(k)] = EncodeScript(Script, ReleaseStopChosen()).record;
    RefreshPCMacro();
}

void MacroPage::Btn_ImportOneClick()
{
    if (Library.Count() >= ImportOneLimit)
        return;
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    HideAllMenu();
    const ImportOneResult r = ImportOneFile(Library, *path);
    Script.clear();
    lineList_->clear();
    if (!r.file.ok) {
        session().services().showMessage(r.file.error, MessageStyle::PlainBox);
        return;
    }
    if (r.status == LibraryStatus::Duplicate) {
        session().RefreshFormMessagDialog(skin().LookupText(DuplicateNameTextKey));
        return;
    }
    if (r.status != LibraryStatus::Ok)
        return; // a file without a name adds nothing
    RefreshPCMacroName();
    pcList_->setCurrentRow(r.index); // selected, not opened
    RefreshPCMacro();
}

void MacroPage::Btn_ImportClick()
{
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    HideAllMenu();
    const FileResult r = ImportAllFile(Library, *path);
    Script.clear();
    lineList_->clear();
    if (!r.ok) {
        session().services().showMessage(r.error, MessageStyle::PlainBox);
        return;
    }
    RefreshPCMacroName();
    RefreshPCMacro();
}

void MacroPage::Btn_ExportOneClick()
{
    const int k = SelectedLibraryMacro();
    if (k < 0)
        return;
    HideAllMenu();
    const std::optional<QString> chosen = session().services().saveFileName(kSaveFilter, QString());
    if (!chosen || chosen->isEmpty())
        return;
    const FileResult r = ExportOneFile(Library, k, *chosen);
    if (!r.ok)
        session().services().showMessage(r.error, MessageStyle::PlainBox);
}

void MacroPage::Btn_ExportClick()
{
    const std::optional<QString> chosen = session().services().saveFileName(kSaveFilter, QString());
    if (!chosen || chosen->isEmpty())
        return;
    HideAllMenu();
    const FileResult r = ExportAllFile(Library, *chosen);
    if (!r.ok)
        session().services().showMessage(r.error, MessageStyle::PlainBox);
}

void MacroPage::Btn_ImportBaseMacroClick()
{
    context().hideAllMenu();
    const std::optional<QString> path = session().services().openFileName(kLoadFilter);
    if (!path || path->isEmpty())
        return;
    const FileResult read = ReadBaseMacroFile(*path, image().MacroArea);
    if (!read.ok) {
        session().services().showMessage(read.error, MessageStyle::PlainBox);
        return;
    }
    RefreshMacrosFromArea();
    // The engineering page has no overlay.
    session().RunBusy(
        [this] {
            if (!session().link().hasDevice())
                return;
            bool writeEnable = false;
            int controllerCode = -1;
            MemoryAccess memory(session().link(), writeEnable, controllerCode);
            if (!memory.QueryStatus())
                return; // no acknowledge or not ready: nothing is written
            if (memory.MemoryAccessAllowed())
                memory.WriteBlock(static_cast<std::uint16_t>(MacroAreaAddr), image().MacroArea);
            memory.CloseExchange();
        },
        false);
}

// --- Script and list ---

void MacroPage::RefreshMacroList(int selection)
{
    const int n = Script.itemCount();
    while (lineList_->count() > n)
        delete lineList_->takeItem(lineList_->count() - 1);
    while (lineList_->count() < n)
        lineList_->addItem(new QListWidgetItem);
    for (int i = 0; i < n; ++i) {
        QListWidgetItem* item = lineList_->item(i);
        const QString line = Script.item(i);
        if (item->data(MacroLineRole).toString() == line && !item->data(MacroLineTextRole).isNull())
            continue;
        item->setData(MacroLineRole, line);
        item->setData(MacroLineTextRole, DisplayText(line));
        item->setData(MacroLineKindRole, KindOf(line).value_or(-1));
    }
    if (selection >= 0 && selection < n) {
        lineList_->setCurrentRow(selection);
        lineList_->scrollToItem(lineList_->item(selection));
    }
}

int MacroPage::CurrentLine() const
{
    const int row = lineList_->currentRow();
    return row >= 0 && row < Script.itemCount() ? row : -1;
}

// --- Recording ---

bool MacroPage::Recording() const
{
    return Recorder->RecordingActive;
}

bool MacroPage::InsertRecording() const
{
    return Recorder->RecordingActive && Recorder->InsertRecording;
}

void MacroPage::SetPointerOnRecordButton(bool on)
{
    Recorder->PointerOnRecordButton = on;
}

bool MacroPage::startCapture()
{
    stopPending_ = false;
    if (!input_->start()) {
        const QString why = input_->errorText();
        session().services().showMessage(
            why.isEmpty() ? QStringLiteral("Keyboard and mouse input cannot be recorded here.") : why,
            MessageStyle::PlainBox);
        return false;
    }
    if (input_->isLimited())
        stack().hintLine()->setText(QStringLiteral(
            "Recording sees only the keys and buttons pressed in this window: no X display to record from."));
    return true;
}

void MacroPage::Btn_StartClick()
{
    HideAllMenu();
    if (Recorder->RecordingActive) {
        if (!Recorder->InsertRecording)
            stopRecording();
        return;
    }
    const int k = SelectedLibraryMacro();
    if (k < 0)
        return;
    if (!startCapture())
        return;
    recordingMacro_ = k;
    lineList_->clear();
    Library.Records[std::size_t(k)] = MacroRecord{};
    Recorder->StartNormal(recordSettings());
    RefreshMacroList();
    setRecordingLook(true, false);
}

void MacroPage::Btn_InsertStartClick()
{
    if (Recorder->RecordingActive) {
        if (Recorder->InsertRecording)
            stopRecording();
        return;
    }
    const int k = SelectedLibraryMacro();
    const int anchor = CurrentLine();
    if (k < 0 || anchor < 0)
        return;
    const MacroRecord& record = Library.Records[std::size_t(k)];
    const int storedLength = MacroRecordEmpty(record) ? 0 : std::min<int>(record[1], MaxLengthByte);
    if (!Recorder->StartInsert(recordSettings(), anchor, storedLength))
        return;
    if (!startCapture()) {
        Recorder->Stop();
        return;
    }
    setRecordingLook(true, true);
}

void MacroPage::stopRecording()
{
    input_->stop();
    stopPending_ = false;
    const bool insert = Recorder->Stop();
    setRecordingLook(false, insert);
    if (insert)
        return; // the insert panel's OK or Cancel decides about the lines
    const int k = recordingMacro_;
    recordingMacro_ = -1;
    if (k < 0 || k >= LibraryEntryCount)
        return;
    Library.Records[std::size_t(k)] = EncodeScript(Script, ReleaseStopChosen()).record;
    RefreshPCMacro();
}

void MacroPage::onKey(int vk, int state, std::uint32_t timeMs)
{
    if (stopPending_ || !Recorder->RecordingActive)
        return;
    const RecordStep step = Recorder->KeyboardHook1Receive(vk, state, timeMs);
    afterStep(step.added, step.selection, step.stop);
}

void MacroPage::onButton(int buttonEvent, std::uint32_t timeMs)
{
    if (stopPending_ || buttonEvent < 0 || buttonEvent >= ButtonEventCount)
        return;
    const auto event = static_cast<ButtonEvent>(buttonEvent);
    if (!Recorder->TakesButtonEvent(event))
        return;
    const RecordStep step = Recorder->MouseButtonEvent(event, timeMs);
    afterStep(step.added, step.selection, step.stop);
}

void MacroPage::afterStep(int added, int selection, bool stop)
{
    if (added > 0)
        RefreshMacroList(selection);
    if (!stop)
        return;
    // The stop runs once the capture has handed over this event; nothing
    // after it is recorded.
    stopPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (stopPending_ && Recorder->RecordingActive)
                stopRecording();
        },
        Qt::QueuedConnection);
}

void MacroPage::setRecordingLook(bool recording, bool insert)
{
    const QString caption =
        skin().LookupText(recording ? QStringLiteral("Str401") : QStringLiteral("Str400"));
    if (insert) {
        // The editor's insert panel, where it has been built.
        if (auto* b = window()->findChild<QLabel*>(QStringLiteral("Btn_InsertStart")))
            b->setText(caption);
        for (const char* name : {"CB_Insert", "Btn_OK", "Btn_Cancel"})
            if (QWidget* w = window()->findChild<QWidget*>(QLatin1String(name)))
                w->setEnabled(!recording);
        if (QWidget* cover = window()->findChild<QWidget*>(QStringLiteral("GB_Dis")))
            cover->setVisible(recording);
        return;
    }
    startButton_->setText(caption);
    delayBox_->setEnabled(!recording);
    setTextColour(delayEdit_, recording ? kGrey : fontColour_);
    for (QWidget* w : {static_cast<QWidget*>(pcList_), static_cast<QWidget*>(deviceList_),
                       static_cast<QWidget*>(lineList_)})
        w->setEnabled(!recording);
    if (QWidget* newButton = window()->findChild<QWidget*>(QStringLiteral("Btn_New")))
        newButton->setEnabled(!recording);
    if (recording)
        lineList_->setFocus();
}

// --- Window steps ---

bool MacroPage::MacroInsertMode() const
{
    return editor_ && editor_->insertPanel().isOpen();
}

void MacroPage::ShowMacroBoxes()
{
    // The delay box and the insert box share their place on the macro page.
    const bool inserting = MacroInsertMode();
    if (auto* box = window()->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        box->setVisible(!inserting);
    for (const char* name : {"Gb_Insert", "Img_InsertBase"})
        if (auto* box = window()->findChild<QWidget*>(QLatin1String(name)))
            box->setVisible(inserting);
}

void MacroPage::ClearMacroTexts() {}

void MacroPage::HideAllMenu()
{
    for (const char* name : kMacroPagePopups)
        if (auto* popup = window()->findChild<QWidget*>(QLatin1String(name)))
            popup->hide();
}

void MacroPage::BeforeLanguageChange()
{
    auto* insertList = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert"));
    insertIndex_ = insertList ? insertList->currentIndex() : -1;
    if (auto* delayBox = window()->findChild<QWidget*>(QStringLiteral("Gb_Delay")))
        delayBox->hide();
}

void MacroPage::AfterLanguageChange()
{
    if (auto* insertList = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert")))
        insertList->setCurrentIndex(insertIndex_);
}

void MacroPage::ApplyLayout(const LayoutText& section)
{
    const LayoutPoint names = section.point(QStringLiteral("PCMacroName_"));
    pcList_->setGeometry(names.x, names.y, pcList_->width(),
                         section.intValue(QStringLiteral("PCMacroName_H")));
    const LayoutPoint lines = section.point(QStringLiteral("MacroContent_"));
    lineList_->setGeometry(lines.x, lines.y, lineList_->width(), pcList_->height());
    const LayoutPoint start = section.point(QStringLiteral("BtnStart_"));
    if (QWidget* picture = container()->findChild<QWidget*>(QStringLiteral("Img_Start")))
        picture->move(start.x, start.y);
    startButton_->move(start.x, start.y);
    editor_->insertPanel().ApplyLayout(section);
    const LayoutPoint box = section.point(QStringLiteral("DelayTime_"));
    delayBox_->move(box.x, box.y);
    const LayoutPoint options = section.point(QStringLiteral("RecDelay_"));
    const int step = section.intValue(QStringLiteral("RecDelay_H"));
    for (int i = 0; i < 3; ++i) {
        const DelayOption& o = kDelayOptions[i];
        if (QWidget* marker = delayBox_->findChild<QWidget*>(QLatin1String(o.marker)))
            marker->move(options.x, options.y + i * step);
        if (QWidget* label = delayBox_->findChild<QWidget*>(QLatin1String(o.label)))
            label->move(options.x - 2, options.y + i * step);
    }
    const LayoutPoint edit = section.point(QStringLiteral("DelayEdit_"));
    delayEdit_->move(edit.x, edit.y);
    const std::pair<const char*, std::pair<const char*, const char*>> releases[] = {
        {"ReleaseStop_", {"Img_ReleaseStop", "IB_ReleaseStop"}},
        {"ReleaseContinue_", {"Img_ReleaseContiue", "IB_ReleaseContiue"}}};
    for (const auto& [key, controls] : releases) {
        const LayoutPoint p = section.point(QLatin1String(key));
        if (QWidget* marker = delayBox_->findChild<QWidget*>(QLatin1String(controls.first)))
            marker->move(p.x, p.y);
        if (QWidget* label = delayBox_->findChild<QWidget*>(QLatin1String(controls.second)))
            label->move(p.x - 2, p.y);
    }

    // Fonts, colours and the rows of the three lists (start-up step 11).
    const int size = section.intValue(QStringLiteral("Size_F"));
    const QColor caption = toColour(section.colour(QStringLiteral("Color_F_")));
    const QColor listBack = toColour(section.colour(QStringLiteral("Color_F_LBack_")));
    const QColor border = toColour(section.colour(QStringLiteral("Color_F_LBorder_")));
    fontColour_ = toColour(section.colour(QStringLiteral("Color_F_Font_")));
    const QColor editBack = toColour(section.colour(QStringLiteral("Color_F_Back_")));
    const int rowHeight = section.intValue(QStringLiteral("MacroNameHeight"));
    for (QListWidget* list : {pcList_, deviceList_, lineList_}) {
        QFont f = list->font();
        f.setPointSize(size);
        list->setFont(f);
        list->setStyleSheet(QStringLiteral("QListWidget { color: %1; background-color: %2; border: none; }"
                                           "QListWidget::item:selected { background-color: %3; }")
                                .arg(rgb(fontColour_), rgb(listBack), rgb(border)));
    }
    for (MacroListDelegate* rows : {pcRows_, deviceRows_, lineRows_}) {
        rows->setRowHeight(rowHeight);
        rows->setColours(fontColour_, listBack, border);
    }
    lineList_->doItemsLayout();
    pcList_->doItemsLayout();
    for (QWidget* w : delayBox_->findChildren<QLabel*>()) {
        QFont f = w->font();
        f.setPointSize(size);
        w->setFont(f);
        setTextColour(w, caption);
    }
    QFont f = startButton_->font();
    f.setPointSize(size);
    startButton_->setFont(f);
    setTextColour(startButton_, caption);
    delayEdit_->setFont(f);
    delayEdit_->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; }")
                                  .arg(rgb(editBack), rgb(border)));
    setTextColour(delayEdit_, rbDelayTime_->isChecked() && !Recording() ? fontColour_ : kGrey);
    editor_->applyLook(size, caption, fontColour_, editBack);
}

void MacroPage::Retranslate()
{
    editor_->insertPanel().Retranslate();
    if (auto* list = window()->findChild<QComboBox*>(QStringLiteral("CB_Insert"))) {
        const QStringList& keys = InsertListKeys();
        for (int i = 0; i < keys.size(); ++i) {
            if (i < list->count())
                list->setItemText(i, skin().LookupText(keys[i]));
            else
                list->addItem(skin().LookupText(keys[i]));
        }
    }
    for (const DelayOption& o : kDelayOptions)
        if (auto* label = delayBox_->findChild<QLabel*>(QLatin1String(o.label)))
            label->setText(blanks(kOptionBlanks) + skin().LookupText(QLatin1String(o.textKey)));
    if (auto* label = delayBox_->findChild<QLabel*>(QStringLiteral("IB_ReleaseStop")))
        label->setText(blanks(kOptionBlanks) + skin().LookupText(QStringLiteral("Str436")));
    if (auto* label = delayBox_->findChild<QLabel*>(QStringLiteral("IB_ReleaseContiue")))
        label->setText(blanks(kOptionBlanks) + skin().LookupText(QStringLiteral("Str437")));
    // The record button says what a click does now.
    startButton_->setText(skin().LookupText(
        Recording() && !Recorder->InsertRecording ? QStringLiteral("Str401") : QStringLiteral("Str400")));
}

void MacroPage::ResetNoDevice()
{
    if (Recorder->RecordingActive)
        stopRecording();
    // The macro texts and lists of the last mouse go.
    Script.clear();
    for (QListWidget* list : {deviceList_, lineList_})
        list->clear();
    for (const char* name : {"mmo_macro", "mmo_wrscript"})
        if (auto* text = window()->findChild<QPlainTextEdit*>(QString::fromLatin1(name)))
            text->clear();
}

void MacroPage::DeviceLost()
{
    if (Recorder->RecordingActive)
        stopRecording();
    Script.clear();
    lineList_->clear();
}

} // namespace orb
