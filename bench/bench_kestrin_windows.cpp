// Kestrin's windows: the set that start-up makes (the main and Name
// windows), and all six as a session that opens every window makes them,
// pictures decoded and help tree built.

// standard
#include <cstdlib>

// Qt
#include <QApplication>

// Google Benchmark
#include <benchmark/benchmark.h>

// ours
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
#include "tests/support/scriptedplatform.h"

namespace {

void BM_CreateWindowSet(benchmark::State& state)
{
    platform::ScriptedPlatform ui("Kestrin 1.03", platform::LineBreak::CrLf);
    for (auto _ : state) {
        kestrin::Application app(ui, platform::CodePage::system());
        benchmark::DoNotOptimize(app.windows().main());
    }
}
BENCHMARK(BM_CreateWindowSet)->Unit(benchmark::kMillisecond);

void BM_CreateAllWindows(benchmark::State& state)
{
    platform::ScriptedPlatform ui("Kestrin 1.03", platform::LineBreak::CrLf);
    for (auto _ : state) {
        kestrin::Application app(ui, platform::CodePage::system());
        kestrin::WindowSet& windows = app.windows();
        benchmark::DoNotOptimize(windows.portrait());
        benchmark::DoNotOptimize(windows.appearance());
        benchmark::DoNotOptimize(windows.help());
        benchmark::DoNotOptimize(windows.presets());
    }
}
BENCHMARK(BM_CreateAllWindows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
