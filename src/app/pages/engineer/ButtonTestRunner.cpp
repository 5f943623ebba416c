#include "app/pages/engineer/ButtonTestRunner.h"

#include "app/session/DeviceSession.h"

#include <QPushButton>
#include <QThread>

namespace orb
{

namespace
{
// About one unanswered try of ReadKeyState.
constexpr int NoMousePollMs = 50;
} // namespace

ButtonTestRunner::ButtonTestRunner(QWidget* page, DeviceSession& session, std::function<void()> hideAllMenu)
    : QObject(page), page_(page), session_(session), hideAllMenu_(std::move(hideAllMenu))
{
    TestTimer = session_.clock().createTimer(ButtonTestTickMs, [this] { TestTimerTimer(); });
    if (QPushButton* b = button())
        connect(b, &QPushButton::clicked, this, [this] { btn_TestKeysClick(); });
}

ButtonTestRunner::~ButtonTestRunner()
{
    if (TPrimeThread)
        joinWorker();
}

void ButtonTestRunner::End()
{
    if (!TPrimeThread)
        return;
    joinWorker();
    finish();
}

void ButtonTestRunner::joinWorker()
{
    // A blink in progress finishes first.
    flags_.stop.store(true);
    if (hooks_.stopping)
        hooks_.stopping();
    TPrimeThread->disconnect(this);
    TPrimeThread->wait();
    delete TPrimeThread;
    TPrimeThread = nullptr;
}

QPushButton* ButtonTestRunner::button() const
{
    return page_->findChild<QPushButton*>(QStringLiteral("btn_TestKeys"));
}

QWidget* ButtonTestRunner::keyButton(int key) const
{
    return page_->findChild<QWidget*>(QStringLiteral("btn_Key1%1").arg(key, 2, 10, QLatin1Char('0')));
}

void ButtonTestRunner::btn_TestKeysClick()
{
    // The test is a transfer of its own until finish(): refused while
    // another one pumps the queue under this click, and no other starts
    // while the worker uses the link.
    if (running_ || TPrimeThread || !session_.BeginTransfer())
        return;
    if (hideAllMenu_)
        hideAllMenu_();
    session_.devTimer().setEnabled(false);
    QPushButton* b = button();
    normalText_ = b->text();
    b->setEnabled(false);
    holdTransfers(true);
    // The test's polls, reload and end all run under the mouse's lock, held
    // from here to finish(); another program holding it keeps the test out.
    session_.link().holdLock();
    if (!session_.link().ExchangeCommand(BeginCmd) && !session_.link().heldBy().isEmpty()) {
        const QString holder = session_.link().heldBy();
        session_.link().releaseHold();
        b->setEnabled(true);
        holdTransfers(false);
        session_.devTimer().setEnabled(true);
        session_.EndTransfer();
        session_.RefreshFormMessagDialog(session_.MouseHeldText(holder));
        return;
    }

    flags_.stop.store(false);
    flags_.blinking.store(false);
    countdownEnded_ = false;
    running_ = true;
    TPrimeThread = QThread::create([this] { worker(); });
    TPrimeThread->setObjectName(QStringLiteral("TPrimeThread"));
    connect(
        TPrimeThread, &QThread::finished, this, [this] { workerEnded(); }, Qt::QueuedConnection);
    TPrimeThread->start(QThread::LowPriority);

    TestTimer->setEnabled(true);
    countdown_.Start();
}

void ButtonTestRunner::holdTransfers(bool hold)
{
    if (!hold) {
        for (QWidget* w : held_)
            w->setEnabled(true);
        held_.clear();
        return;
    }
    for (const char* name : {"Btn_Main_6", "Btn_Switch_6", "Btn_Adv_6", "Btn_Breath_6", "Btn_Macro_6",
                             "Btn_Load_6", "Btn_Save_6", "btn_Write", "Btn_ImportBaseMacro", "Btn_Default"})
        if (auto* w = page_->findChild<QWidget*>(QLatin1String(name)); w && w->isEnabled()) {
            w->setEnabled(false);
            held_.push_back(w);
        }
}

void ButtonTestRunner::TestTimerTimer()
{
    if (!running_ || countdownEnded_)
        return;
    const ButtonTestCountdown::Tick tick = countdown_.OnTick(flags_.blinking, normalText_);
    button()->setText(tick.text);
    if (!tick.ended)
        return;
    // The reload and the end go out once the worker has stopped using the link.
    countdownEnded_ = true;
    TestTimer->setEnabled(false);
    flags_.stop.store(true);
}

// --- The worker's side (TPrimeThread) ---

void ButtonTestRunner::pause(int ms)
{
    if (hooks_.pause)
        hooks_.pause(ms);
    else
        session_.clock().sleepMs(ms);
}

std::uint16_t ButtonTestRunner::readKeyState()
{
    pause(0);
    Transport& link = session_.link();
    if (flags_.stop.load())
        return 0;
    // No mouse to ask: nothing is pressed, and the countdown runs out as
    // with a mouse that does not answer. The pause keeps the poll from
    // spinning.
    if (!link.hasDevice()) {
        pause(NoMousePollMs);
        return 0;
    }
    // A mouse that has gone answers nothing ever again: the test ends.
    if (link.deviceGone()) {
        flags_.stop.store(true);
        return 0;
    }
    const std::uint16_t bits = link.ReadKeyState();
    if (link.deviceGone())
        flags_.stop.store(true);
    return bits;
}

void ButtonTestRunner::worker()
{
    ButtonTestIo io;
    io.readKeyState = [this] { return readKeyState(); };
    io.wait = [this](int ms) { pause(ms); };
    io.setVisible = [this](int key, bool visible) {
        QMetaObject::invokeMethod(
            this,
            [this, key, visible] {
                if (QWidget* b = keyButton(key))
                    b->setVisible(visible);
            },
            Qt::QueuedConnection);
    };
    RunButtonTestWorker(io, flags_);
    if (hooks_.ended)
        hooks_.ended();
}

// --- Back on the user-interface thread ---

void ButtonTestRunner::workerEnded()
{
    if (!TPrimeThread)
        return;
    TPrimeThread->wait(); // has finished: returns at once
    delete TPrimeThread;
    TPrimeThread = nullptr;
    // The countdown ran out, or the mouse went away in the middle.
    finish();
}

void ButtonTestRunner::finish()
{
    // Without a mouse these fail at once and silently.
    session_.link().ExchangeCommand(SystemReloadCmd);
    session_.link().ExchangeCommand(EndCmd);
    session_.link().releaseHold();
    TestTimer->setEnabled(false);
    running_ = false;
    countdownEnded_ = false;
    QPushButton* b = button();
    b->setText(normalText_);
    b->setEnabled(true);
    holdTransfers(false);
    session_.devTimer().setEnabled(true);
    session_.EndTransfer();
}

} // namespace orb
