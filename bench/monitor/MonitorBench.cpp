// One monitor tick (the move and a full scan that finds nothing) against its floor, one
// move of a native child window plus one screen grab of 114 x 77; and the running
// monitor's peak memory against a bare window program of the same size.
#include "monitor/frmMain.h"
#include "platform/Application.h"
#include "platform/ScreenReader.h"
#include "platform/WindowActivation.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QWidget>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>

namespace {

const char* const kMonitorTitle = "TW Monitor App";
const char* const kBareTitle = "Bare window";

bool PumpUntil(const std::function<bool()>& condition, double seconds) {
    const double end = platform::MonotonicSeconds() + seconds;
    while (!condition()) {
        if (platform::MonotonicSeconds() > end)
            return false;
        platform::PumpEventsFor(0.02);
    }
    return true;
}

bool OnScreen(QWidget& window) {
    window.show();
    return PumpUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); },
                     10.0);
}

// The offsets the monitor walks: 1 to 11 and back to 0.
class OffsetWalk {
  public:
    int Next() {
        if (offset_ == 0 || offset_ > 10)
            forward_ = !forward_;
        offset_ += forward_ ? 1 : -1;
        return offset_;
    }

  private:
    int offset_ = 0;
    bool forward_ = false;
};

// ---- Peak memory, each program in a process of its own

double PeakResidentMiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void BM_PeakMemory(benchmark::State& state, const char* program, const char* title) {
    double peak = 0;
    for (auto _ : state) {
        QProcess process;
        process.start(QString::fromLatin1(program), {});
        if (!process.waitForStarted(10000) ||
            !PumpUntil([&] { return !platform::FindWindowsByTitle(title).empty(); }, 10.0)) {
            state.SkipWithError("the program showed no window");
            return;
        }
        // Long enough for the monitor's first ticks and scans.
        platform::PumpEventsFor(2.0);
        peak = PeakResidentMiB(process.processId());
        process.kill();
        process.waitForFinished(5000);
    }
    state.counters["peak_MiB"] = peak;
}

// ---- One tick and its floor, in this process

monitor::frmMain* OpenMonitor() {
    static monitor::frmMain* window = nullptr;
    if (window)
        return window;
    // A copy running on this display would make this one end at once.
    if (platform::AnotherInstanceRunning("TWMonitor"))
        return nullptr;
    window = &monitor::frmMain::Instance();
    window->Timer1.SetEnabled(false);
    if (!OnScreen(*window))
        return nullptr;
    platform::PumpEventsFor(0.3);
    return window;
}

// A bare window with a native child of the picture's size, moved as the monitor moves it.
class FloorWindow {
  public:
    FloorWindow() : child_(&window_) {
        window_.setFixedSize(133, 148);
        child_.setAttribute(Qt::WA_NativeWindow);
        child_.setGeometry(0, 0, 113, 76);
    }
    bool Show() { return OnScreen(window_); }

    void MoveAndGrab() {
        const int offset = walk_.Next();
        child_.move(offset, offset);
        const QPoint origin = child_.mapToGlobal(QPoint(0, 0));
        const platform::ScreenGrab grab =
            platform::ScreenGrab::Take(origin.x(), origin.y(), 114, 77);
        benchmark::DoNotOptimize(grab.RawPixel(origin.x(), origin.y()));
    }

  private:
    QWidget window_;
    QWidget child_;
    OffsetWalk walk_;
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Clocks {
    double real = 0;
    double cpu = 0;
    // Runs the work and adds its wall and CPU time; returns the wall time.
    template <class Work> double Add(Work&& work) {
        const double real0 = platform::MonotonicSeconds();
        const double cpu0 = ThreadCpuSeconds();
        work();
        const double elapsed = platform::MonotonicSeconds() - real0;
        real += elapsed;
        cpu += ThreadCpuSeconds() - cpu0;
        return elapsed;
    }
};

// Tick and floor alternate, so that both meet the same load of a shared machine.
void BM_TickAgainstFloor(benchmark::State& state) {
    monitor::frmMain* window = OpenMonitor();
    FloorWindow floor;
    if (!window || !floor.Show()) {
        state.SkipWithError("no monitor window (another one runs on this display?)");
        return;
    }
    Clocks tick;
    Clocks bare;
    int found = 0;
    for (auto _ : state) {
        // Events between ticks, as the event loop handles them.
        QCoreApplication::processEvents();
        bare.Add([&] { floor.MoveAndGrab(); });
        QCoreApplication::processEvents();
        state.SetIterationTime(tick.Add([&] { window->Timer1_Timer(); }));
        found += window->lblEnDis->Caption() != "No artifacts detected.";
    }
    if (found) {
        state.SkipWithError("a tick found differences: not a full scan");
        return;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["tick_us"] = tick.real / n * 1e6;
    state.counters["floor_us"] = bare.real / n * 1e6;
    state.counters["tick_cpu_us"] = tick.cpu / n * 1e6;
    state.counters["floor_cpu_us"] = bare.cpu / n * 1e6;
}

// Prints the ratios the targets are about after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred)
                runs_[run.benchmark_name()] = run;
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (const Run* run = Find("BM_TickAgainstFloor")) {
            const auto& c = run->counters;
            std::printf("tick / floor: %.0f us / %.0f us = %.2fx; CPU %.0f us / %.0f us = %.2fx "
                        "(targets: at most 1.5x, tick under 2 ms of CPU)\n",
                        double(c.at("tick_us")), double(c.at("floor_us")),
                        double(c.at("tick_us")) / double(c.at("floor_us")),
                        double(c.at("tick_cpu_us")), double(c.at("floor_cpu_us")),
                        double(c.at("tick_cpu_us")) / double(c.at("floor_cpu_us")));
        }
        const Run* monitor = Find("BM_PeakMemory/monitor");
        const Run* bare = Find("BM_PeakMemory/bare_window");
        if (monitor && bare)
            std::printf(
                "peak memory: monitor %.1f MiB / bare window %.1f MiB = %.2fx "
                "(target: at most 1.2x)\n",
                double(monitor->counters.at("peak_MiB")), double(bare->counters.at("peak_MiB")),
                double(monitor->counters.at("peak_MiB")) / double(bare->counters.at("peak_MiB")));
    }

  private:
    const Run* Find(const std::string& prefix) const {
        for (const auto& [name, run] : runs_)
            if (name.rfind(prefix, 0) == 0)
                return &run;
        return nullptr;
    }

    std::map<std::string, Run> runs_;
};

} // namespace

// The memory probes run first: the tick benchmark holds the monitor's one-copy lock.
BENCHMARK_CAPTURE(BM_PeakMemory, bare_window, TW_BARE_WINDOW_EXE, kBareTitle)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PeakMemory, monitor, TW_MONITOR_EXE, kMonitorTitle)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickAgainstFloor)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(3.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    auto app = platform::CreateApplication(argc, argv, platform::Graphics::WidgetsOnly);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
