// The demo program (simulated mouse, plugged in a second after start) with
// start-up figures: the same runProgram as orb5610-demo, plus a probe on the
// main window. Usage: orb_demo_probe [--hold-ms N] [--census] [--switches]
// (hold default 3000 ms, 0 quits at the first paint; --census lists widgets
// and pictures by page half a second after start; --switches waits for the
// mouse to be read, then times each page switch, first show and again, and
// the language switches, painted, and quits).
#include "StartupProbe.h"
#include "app/frame/MainWindow.h"
#include "app/frame/PageSelector.h"
#include "app/program/AppMain.h"
#include "app/program/DemoMouse.h"
#include "app/session/DeviceSession.h"
#include "census.h"
#include "device/SimMouse.h"

#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace
{
// One switch, from the click to the window painted.
void timeSwitch(orb::MainWindow& window, const char* what, const std::function<void()>& click)
{
    QElapsedTimer t;
    t.start();
    click();
    window.repaint();
    std::printf("switch %s ms=%.2f\n", what, double(t.nsecsElapsed()) / 1e6);
}

void timeSwitchesWhenRead(orb::MainWindow& window)
{
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll] {
        if (!window.session().lastReadComplete() || window.session().timerBusy())
            return;
        poll->stop();
        orb::PageSelector& s = window.selector();
        for (const char* round : {"first", "again"}) {
            const std::string r(round);
            timeSwitch(window, ("page2_" + r).c_str(), [&s] { s.Btn_Adv_0Click(); });
            timeSwitch(window, ("page3_" + r).c_str(), [&s] { s.Btn_Breath_0Click(); });
            timeSwitch(window, ("page4_" + r).c_str(), [&s] { s.Btn_Macro_0Click(); });
            timeSwitch(window, ("page1_" + r).c_str(), [&s] { s.Btn_Main_0Click(); });
            timeSwitch(window, ("lang3_" + r).c_str(), [&window] { window.Btn_Lang3_0Click(); });
            timeSwitch(window, ("lang1_" + r).c_str(), [&window] { window.Btn_Lang1_0Click(); });
        }
        std::fflush(stdout);
        QApplication::quit();
    });
    poll->start(200);
}
} // namespace

int main(int argc, char** argv)
{
    const int holdMs = orbbench::holdMsArgument(argc, argv);
    static orb::SimMouse mouse;
    auto host = orb::MakeDemoHost(mouse);
    orb::SimHost* hostPtr = host.get();
    std::unique_ptr<orbbench::Probe> probe;
    return orb::runProgram(argc, argv, std::move(host), [&](orb::MainWindow& window) {
        probe = std::make_unique<orbbench::Probe>(window, holdMs, "orb5610-demo");
        for (int i = 1; i < argc; ++i)
            if (QByteArray(argv[i]) == "--census")
                QTimer::singleShot(500, &window, [&window] { orbbench::printCensus(window); });
        for (int i = 1; i < argc; ++i)
            if (QByteArray(argv[i]) == "--switches")
                timeSwitchesWhenRead(window);
        orb::PlugInDemoMouseSoon(*hostPtr, mouse);
    });
}
