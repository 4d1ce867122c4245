// Runs on an X display with a window manager; needs no bitmap set.
#include "main/frmDXTestBed.h"
#include "main/frmMain.h"
#include "platform/Application.h"
#include "platform/ddraw/DirectDraw.h"

#include <QElapsedTimer>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kWeakPasses = 80;
constexpr double kPauseSeconds = 0.03;
constexpr int64_t kSurfaceBytes = 320 * 240 * 4;

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

frmMain& MainWindow() {
    frmMain& main = frmMain::Instance();
    if (!QTest::qWaitForWindowExposed(&main))
        std::fprintf(stderr, "the main window was not shown\n");
    return main;
}

// "Begin Test" with "Weak": the run's floor is its 80 pauses of 0.03 s.
void BM_WeakRun(benchmark::State& state) {
    frmMain& main = MainWindow();
    main.opnDXTesting->SetValue(true);
    main.opnDXTest[0]->SetValue(true);
    const double floor = kWeakPasses * kPauseSeconds;
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        const double cpuBefore = ProcessCpuSeconds();
        clock.start();
        main.lblButtons_Click(0);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        cpu += ProcessCpuSeconds() - cpuBefore;
        wall += seconds;
        state.SetIterationTime(seconds);
        if (main.lblScore->Caption() != "0 DXArtifactMarks")
            state.SkipWithError(("the run scored " + main.lblScore->Caption()).c_str());
    }
    const double runs = double(state.iterations());
    state.counters["floor_s"] = floor;
    state.counters["run_per_floor"] = wall / runs / floor;
    state.counters["overhead_per_pass_ms"] = (wall / runs - floor) / kWeakPasses * 1000.0;
    state.counters["cpu_per_wall"] = cpu / wall;
}

// The count over the 75,129 pixels of a locked screen.
void BM_CountAfterLock(benchmark::State& state) {
    clsCorvantis& engine = *MainWindow().Corvantis;
    frmDXTestBed& cover = frmDXTestBed::Instance();
    cover.Show();
    if (!QTest::qWaitForWindowExposed(&cover)) {
        state.SkipWithError("the cover window was not shown");
        return;
    }
    engine.PrepareDXBuffers();
    engine.BltFront();
    engine.LockPrimary();
    int32_t marks = 0;
    for (auto _ : state) {
        const int32_t reference = engine.ReadLockedPixel(1, 1);
        marks = 0;
        for (int32_t x = 1; x <= 317; ++x)
            for (int32_t y = 1; y <= 237; ++y)
                if (engine.ReadLockedPixel(x, y) != reference)
                    ++marks;
        benchmark::DoNotOptimize(marks);
    }
    engine.UnlockPrimary();
    cover.Hide();
    state.counters["marks"] = marks;
}

// Swaps until the device has done them all: three 320 x 240 copies each.
void BM_SwapThroughput(benchmark::State& state) {
    frmMain& main = MainWindow();
    clsCorvantis& engine = *main.Corvantis;
    auto draw = ddraw::DirectX7().DirectDrawCreate("");
    draw->SetCooperativeLevel(frmDXTestBed::Instance().hwnd(), ddraw::DDSCL_NORMAL);
    state.SetLabel(draw->DeviceDescription());
    const int swaps = static_cast<int>(state.range(0));
    engine.PrepareDXBuffers();
    for (auto _ : state) {
        for (int i = 0; i < swaps; ++i)
            engine.SwapBuffers();
        // Reading a buffer back waits for every copy before it.
        benchmark::DoNotOptimize(engine.GetBuffer(1).ReadColors());
    }
    state.SetBytesProcessed(state.iterations() * swaps * 3 * kSurfaceBytes);
}

} // namespace

BENCHMARK(BM_WeakRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CountAfterLock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwapThroughput)->Arg(240)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    auto app = platform::CreateApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
