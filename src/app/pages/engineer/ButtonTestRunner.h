#pragma once
#include "core/Clock.h"
#include "lighting/ButtonTest.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QPushButton;
class QThread;
class QWidget;

namespace orb
{

class DeviceSession;

// The button test of the engineering page (btn_TestKeys): the worker
// TPrimeThread polls the mouse's pressed-button bitmap on its own thread and
// blinks the engineering button of every pressed key; the blinks are posted
// to the user-interface thread, which alone touches the widgets. TestTimer
// counts down 5... to 0... after the last blink and ends the test; the
// device timer rests in between.
class ButtonTestRunner : public QObject
{
  public:
    // How the worker spends time: `pause(ms)` is its wait inside a blink and
    // (with 0) the moment before every poll; `ended` runs as it finishes.
    // `stopping` runs on the user-interface thread when the worker is told to
    // stop and is about to be waited for (a test lets a held worker go).
    // Without hooks the worker sleeps on the session's clock, which must
    // then be one that any thread may sleep on (the real clock).
    struct WorkerHooks {
        std::function<void(int ms)> pause;
        std::function<void()> ended;
        std::function<void()> stopping;
    };

    ButtonTestRunner(QWidget* page, DeviceSession& session, std::function<void()> hideAllMenu);
    ~ButtonTestRunner() override;

    void setWorkerHooks(WorkerHooks hooks) { hooks_ = std::move(hooks); }

    void btn_TestKeysClick();
    void TestTimerTimer();
    // The program ends during the test: the worker stops and is waited for
    // (a blink in progress finishes first), then the test ends as the
    // countdown ends it. Afterwards nothing uses the device handle.
    void End();
    // From the click to the end of the countdown (or the mouse's loss).
    bool running() const { return running_; }
    Timer& testTimer() { return *TestTimer; }

  private:
    QPushButton* button() const;
    QWidget* keyButton(int key) const;
    // The page's buttons that lead to another transfer (or to a page that
    // has one) rest while the worker owns the link.
    void holdTransfers(bool hold);
    void worker();
    void pause(int ms);
    std::uint16_t readKeyState();
    void workerEnded();
    void joinWorker();
    void finish();

    QWidget* page_;
    DeviceSession& session_;
    std::function<void()> hideAllMenu_;
    WorkerHooks hooks_;
    std::unique_ptr<Timer> TestTimer;
    ButtonTestCountdown countdown_;
    ButtonTestFlags flags_;
    QThread* TPrimeThread = nullptr;
    QString normalText_;
    std::vector<QWidget*> held_;
    bool running_ = false;
    bool countdownEnded_ = false;
};

} // namespace orb
