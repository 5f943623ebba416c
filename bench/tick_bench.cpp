// The device timer's work on a tick without a change: ten counts of the
// host's HID interfaces, each opening and closing every interface once.
#include "core/VirtualClock.h"
#include "device/HidapiPlatform.h"
#include "device/SimMouse.h"
#include "device/Transport.h"

#include <benchmark/benchmark.h>

using namespace orb;

namespace
{
void tick(Transport& link, benchmark::State& state)
{
    int count = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i)
            count = link.CountHidDevices();
        benchmark::DoNotOptimize(count);
    }
    state.counters["interfaces"] = count;
}

void BM_DevTimerTick_Hidapi(benchmark::State& state)
{
    VirtualClock clock;
    HidapiPlatform hid;
    Transport link(hid, clock);
    tick(link, state);
}
BENCHMARK(BM_DevTimerTick_Hidapi)->Unit(benchmark::kMillisecond);

void BM_DevTimerTick_SimulatedHost(benchmark::State& state)
{
    VirtualClock clock;
    SimHost host;
    SimMouse mouse;
    host.addStandardSet(&mouse, 0x1209);
    Transport link(host, clock);
    tick(link, state);
}
BENCHMARK(BM_DevTimerTick_SimulatedHost)->Unit(benchmark::kMicrosecond);
} // namespace
