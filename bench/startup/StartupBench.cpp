// Wall time from process start to "ready", and peak memory, of Tarnwick5's start-up and of
// its floor, measured alternately in the same run.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A scratch program folder holding the probe and the shipped files.
QString PrepareProgramFolder(const QTemporaryDir& scratch, const QString& probe) {
    const QString target = scratch.path() + "/" + QFileInfo(probe).fileName();
    QFile::copy(probe, target);
    QFile::setPermissions(target, QFile::permissions(probe));
    QProcess::execute("cp", {"-r", QString(TW_PROGRAM_DIR) + "/.", scratch.path()});
    return target;
}

void RunProbe(benchmark::State& state, const char* probePath) {
    QTemporaryDir scratch;
    const QString probe = PrepareProgramFolder(scratch, probePath);
    double peakKiB = 0;
    for (auto _ : state) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(probe, {});
        process.waitForFinished(30000);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        const QByteArray out = process.readAllStandardOutput();
        const int at = out.indexOf("ready ");
        if (at < 0) {
            state.SkipWithError("probe did not report ready");
            return;
        }
        peakKiB = out.mid(at + 6).trimmed().toDouble();
    }
    state.counters["peak_MiB"] = peakKiB / 1024.0;
}

void BM_StartupFloor(benchmark::State& state) {
    RunProbe(state, TW_PROBE_FLOOR);
}
void BM_StartupTarnwick5(benchmark::State& state) {
    RunProbe(state, TW_PROBE_TARNWICK);
}

} // namespace

BENCHMARK(BM_StartupFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartupTarnwick5)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_MAIN();
