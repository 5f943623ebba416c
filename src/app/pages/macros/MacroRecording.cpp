// Recording on the macro page: from the keyboard and mouse buttons through
// the input capture into the open macro's script.
#include "app/pages/macros/MacroRecording.h"

#include "app/base/ClickLabel.h"
#include "app/base/Colours.h"
#include "app/base/PageStack.h"
#include "app/base/Skin.h"
#include "app/pages/macros/MacroPage.h"
#include "app/pages/macros/RecordInput.h"
#include "app/session/DeviceSession.h"
#include "macros/MacroCodec.h"
#include "macros/MacroRecorder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>

namespace orb
{

namespace
{
// Texts of our own about the input capture, in the three languages.
enum class CaptureText { CannotRecord, OnlyThisWindow };

QString captureText(int language, CaptureText which)
{
    static const char* const texts[3][2] = {
        {"此处无法录制键盘和鼠标输入。", "录制只能收到在本窗口中按下的按键和鼠标键：没有可供录制的 X 显示。"},
        {"此處無法錄製鍵盤和滑鼠輸入。", "錄製只能收到在本視窗中按下的按鍵和滑鼠鍵：沒有可供錄製的 X 顯示。"},
        {"Keyboard and mouse input cannot be recorded here.",
         "Recording sees only the keys and buttons pressed in this window: no X display to record from."},
    };
    const int l = std::clamp(language, 1, 3) - 1;
    return QString::fromUtf8(texts[l][static_cast<int>(which)]);
}
} // namespace

MacroRecording::MacroRecording(MacroPage& page, const PageContext& context, InputCaptureFactory inputCapture,
                               const MacroRecordControls& controls)
    : page_(page), context_(context), startButton_(controls.startButton), rbDelayTime_(controls.rbDelayTime),
      rbNoDelay_(controls.rbNoDelay), delayEdit_(controls.delayEdit), lineList_(controls.lineList),
      fontColour_(controls.fontColour), Recorder(std::make_unique<MacroRecorder>(page.script()))
{
    input_ = std::make_unique<RecordInput>(
        std::move(inputCapture), [this](int vk, int state, std::uint32_t t) { onKey(vk, state, t); },
        [this](int event, std::uint32_t t) { onButton(event, t); });
}

MacroRecording::~MacroRecording()
{
    input_.reset(); // no event reaches the recorder while it goes
}

bool MacroRecording::Recording() const
{
    return Recorder->RecordingActive;
}

bool MacroRecording::InsertRecording() const
{
    return Recorder->RecordingActive && Recorder->InsertRecording;
}

void MacroRecording::SetPointerOnRecordButton(bool on)
{
    Recorder->PointerOnRecordButton = on;
}

bool MacroRecording::startCapture()
{
    stopPending_ = false;
    if (!input_->start()) {
        // The capture's own reason, where it gives one, is a technical detail.
        const QString why = input_->errorText();
        const QString text = captureText(skin().languageIndex(), CaptureText::CannotRecord);
        session().services().showMessage(why.isEmpty() ? text : text + QStringLiteral(" (%1)").arg(why),
                                         MessageStyle::PlainBox);
        return false;
    }
    showLimitedHint();
    return true;
}

void MacroRecording::showLimitedHint()
{
    // While a capture that sees only this window runs, in the current language.
    if (input_->isRunning() && input_->isLimited())
        stack().hintLine()->setText(captureText(skin().languageIndex(), CaptureText::OnlyThisWindow));
}

void MacroRecording::Retranslate()
{
    showLimitedHint();
}

void MacroRecording::Btn_StartClick()
{
    page_.HideAllMenu();
    if (Recorder->RecordingActive) {
        if (!Recorder->InsertRecording)
            stopRecording();
        return;
    }
    // Into the open macro, which nothing can change until the stop.
    const int k = page_.SelectedLibraryMacro();
    if (k < 0 || k >= LibraryEntryCount || page_.state().insertPanelOpen())
        return;
    if (!startCapture())
        return;
    if (!page_.ownState().startRecording(MacroPageState::Recording::Normal)) {
        input_->stop();
        return;
    }
    lineList_->clear();
    page_.library().Records[std::size_t(k)] = MacroRecord{};
    Recorder->StartNormal(recordSettings());
    page_.RefreshMacroList();
    setRecordingLook(true, false);
}

void MacroRecording::Btn_InsertStartClick()
{
    if (Recorder->RecordingActive) {
        if (Recorder->InsertRecording)
            stopRecording();
        return;
    }
    const int k = page_.SelectedLibraryMacro();
    const int anchor = page_.CurrentLine();
    if (k < 0 || anchor < 0)
        return;
    const MacroRecord& record = page_.library().Records[std::size_t(k)];
    const int storedLength = MacroRecordEmpty(record) ? 0 : std::min<int>(record[1], MaxLengthByte);
    if (!Recorder->StartInsert(recordSettings(), anchor, storedLength))
        return;
    if (!startCapture()) {
        Recorder->Stop();
        return;
    }
    if (!page_.ownState().startRecording(MacroPageState::Recording::Insert)) {
        input_->stop();
        Recorder->Stop();
        return;
    }
    setRecordingLook(true, true);
}

void MacroRecording::stopRecording()
{
    input_->stop();
    stopPending_ = false;
    const bool insert = Recorder->Stop();
    // The open macro is still the one the recording started on: nothing
    // could open another while it ran.
    const int k = page_.SelectedLibraryMacro();
    page_.ownState().stopRecording();
    setRecordingLook(false, insert);
    if (insert)
        return; // the insert panel's OK or Cancel decides about the lines
    if (k < 0 || k >= LibraryEntryCount)
        return;
    page_.library().Records[std::size_t(k)] = EncodeScript(page_.script(), page_.ReleaseStopChosen()).record;
    page_.RefreshPCMacro();
}

void MacroRecording::onKey(int vk, int state, std::uint32_t timeMs)
{
    if (stopPending_ || !Recorder->RecordingActive)
        return;
    const RecordStep step = Recorder->KeyboardHook1Receive(vk, state, timeMs);
    afterStep(step.added, step.selection, step.stop);
}

void MacroRecording::onButton(int buttonEvent, std::uint32_t timeMs)
{
    if (stopPending_ || buttonEvent < 0 || buttonEvent >= ButtonEventCount)
        return;
    const auto event = static_cast<ButtonEvent>(buttonEvent);
    if (!Recorder->TakesButtonEvent(event))
        return;
    const RecordStep step = Recorder->MouseButtonEvent(event, timeMs);
    afterStep(step.added, step.selection, step.stop);
}

void MacroRecording::afterStep(int added, int selection, bool stop)
{
    if (added > 0)
        page_.RefreshMacroList(selection);
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

void MacroRecording::setRecordingLook(bool recording, bool insert)
{
    const QString caption =
        skin().LookupText(recording ? QStringLiteral("Str401") : QStringLiteral("Str400"));
    // Which controls take input is shown from the page's state; here only
    // the captions and colours.
    if (insert) {
        // The editor's insert panel, where it has been built.
        if (auto* b = window()->findChild<QLabel*>(QStringLiteral("Btn_InsertStart")))
            b->setText(caption);
        return;
    }
    startButton_->setText(caption);
    setTextColour(delayEdit_, recording ? kGrey : fontColour_);
}

RecordSettings MacroRecording::recordSettings() const
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

} // namespace orb
