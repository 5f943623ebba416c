// Whole-image transfers against a simulated mouse that answers at the first
// poll, on the real clock. With such a mouse every exchange costs one send,
// its pause after the send and one poll, so the time is bounded below by the
// sum of those pauses: the floor each run is compared with.
#include "core/RealClock.h"
#include "device/MemoryAccess.h"
#include "device/SimMouse.h"
#include "device/Transport.h"
#include "image/DefaultImages.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace orb;

namespace
{
constexpr std::uint16_t kVendor = 0x1209;

// Pauses after the send, per exchange profile.
constexpr double kStandardMs = 10;
constexpr double kWriteChunkMs = 10;
constexpr double kReadChunkMs = 5;

constexpr int kImageChunks = ChunkCount(kMemorySize);  // 342
constexpr int kVerifyChunks = ChunkCount(kVerifySize); // 43

// Read: the chunks alone; the window command adds one standard pause.
constexpr double kReadFloorMs = kImageChunks * kReadChunkMs;
constexpr double kReadAllPausesMs = kReadFloorMs + kStandardMs;
// Apply: the write chunks plus the verification's own exchange (begin,
// status, read window, 43 read chunks, reload, end); the write's begin,
// status, window, reload and end add five standard pauses more.
constexpr double kVerifyMs = 5 * kStandardMs + kVerifyChunks * kReadChunkMs;
constexpr double kApplyFloorMs = kImageChunks * kWriteChunkMs + kVerifyMs;
constexpr double kApplyAllPausesMs = kApplyFloorMs + 5 * kStandardMs;

struct Rig {
    RealClock clock;
    SimHost host;
    SimMouse mouse;
    Transport link{host, clock};
    bool writeEnable = false;
    int controllerCode = kNoControllerCode;
    // The program's busy window costs one pass of the queue per chunk.
    MemoryAccess memory{link, writeEnable, controllerCode, [this] { clock.pumpEvents(); }};

    bool open()
    {
        host.addStandardSet(&mouse, kVendor);
        if (const auto image = LoadDefaultImage(1))
            mouse.memory = *image;
        int release = kReleaseNumber;
        return link.OpenHidDevice(kVendor, kProductId, release);
    }
};

double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void report(benchmark::State& state, double totalMs, double floorMs, double allPausesMs)
{
    const double ms = totalMs / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["floor_ms"] = floorMs;
    state.counters["ratio"] = ms / floorMs;
    state.counters["ratio_all_pauses"] = ms / allPausesMs;
}

void BM_ReadImage(benchmark::State& state)
{
    Rig rig;
    if (!rig.open()) {
        state.SkipWithError("simulated mouse did not open");
        return;
    }
    std::array<std::uint8_t, kMemorySize> image{};
    double total = 0;
    for (auto _ : state) {
        rig.link.ExchangeCommand(BeginCmd);
        rig.mouse.clearTraffic();
        const auto t0 = std::chrono::steady_clock::now();
        rig.memory.ReadBlock(0, image);
        const double ms = msSince(t0);
        state.SetIterationTime(ms / 1000.0);
        total += ms;
        rig.memory.CloseExchange();
        if (image != rig.mouse.memory)
            state.SkipWithError("read back a different image");
    }
    report(state, total, kReadFloorMs, kReadAllPausesMs);
}

void BM_ApplyImage(benchmark::State& state)
{
    Rig rig;
    if (!rig.open()) {
        state.SkipWithError("simulated mouse did not open");
        return;
    }
    auto image = rig.mouse.memory;
    double total = 0;
    for (auto _ : state) {
        image[0x100] ^= 0xFF; // every run writes something new
        rig.mouse.clearTraffic();
        const auto t0 = std::chrono::steady_clock::now();
        const auto verify = rig.memory.WriteImage(image);
        const double ms = msSince(t0);
        state.SetIterationTime(ms / 1000.0);
        total += ms;
        if (verify != MemoryAccess::Verify::Matched || image != rig.mouse.memory)
            state.SkipWithError("the image did not land");
    }
    report(state, total, kApplyFloorMs, kApplyAllPausesMs);
}
} // namespace

BENCHMARK(BM_ReadImage)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyImage)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// RealClock pumps Qt's event queue, so a core application must exist.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
