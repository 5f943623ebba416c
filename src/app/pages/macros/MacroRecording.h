#pragma once
#include "app/base/Page.h"
#include "app/pages/macros/MacroPageDeps.h"

#include <QColor>
#include <QObject>

#include <cstdint>
#include <memory>

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace orb
{

class ClickLabel;
class MacroPage;
class MacroRecorder;
class RecordInput;
struct RecordSettings;

// The macro page's controls a recording reads its delay choice from and
// captions while it runs. `fontColour` is the page's text colour of the
// current layout.
struct MacroRecordControls {
    ClickLabel* startButton;   // Btn_Start
    QRadioButton* rbDelayTime; // rb_DelayTime
    QRadioButton* rbNoDelay;   // rb_NoDelay
    QLineEdit* delayEdit;      // Edt_Delay
    QListWidget* lineList;     // LB_macro
    const QColor& fontColour;
};

// Recording on the macro page: the MacroRecorder writing into the page's
// script, fed by an InputCapture through RecordInput (events on the GUI
// thread, no worker); a normal recording into the selected library macro
// (Btn_Start) and an insert recording at the current line (the insert
// panel's Btn_InsertStart).
class MacroRecording : public QObject
{
  public:
    MacroRecording(MacroPage& page, const PageContext& context, InputCaptureFactory inputCapture,
                   const MacroRecordControls& controls);
    ~MacroRecording() override;

    void Btn_StartClick();
    void Btn_InsertStartClick();
    bool Recording() const;
    bool InsertRecording() const;
    // The pointer is over Btn_New, Btn_Start or Btn_InsertStart: left clicks
    // there start or stop, they are not recorded.
    void SetPointerOnRecordButton(bool on);
    const MacroRecorder& recorder() const { return *Recorder; }
    // The end of a recording, as a click on its button; a normal recording
    // is stored into its library macro.
    void stopRecording();
    // The capture hint in the current language, while it applies.
    void Retranslate();

  private:
    RecordSettings recordSettings() const;
    bool startCapture();
    void showLimitedHint();
    void onKey(int vk, int state, std::uint32_t timeMs);
    void onButton(int buttonEvent, std::uint32_t timeMs);
    void afterStep(int added, int selection, bool stop);
    void setRecordingLook(bool recording, bool insert);
    Skin& skin() const { return context_.skin; }
    DeviceSession& session() const { return context_.session; }
    PageStack& stack() const { return context_.stack; }
    QWidget* window() const { return context_.window; }

    MacroPage& page_;
    PageContext context_;
    ClickLabel* startButton_;
    QRadioButton* rbDelayTime_;
    QRadioButton* rbNoDelay_;
    QLineEdit* delayEdit_;
    QListWidget* lineList_;
    const QColor& fontColour_;

    std::unique_ptr<MacroRecorder> Recorder;
    std::unique_ptr<RecordInput> input_;
    bool stopPending_ = false;
};

} // namespace orb
