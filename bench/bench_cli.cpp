// Each subcommand of the console program as a whole process on copies of
// the demo game files, beside the floor: a program that links the same Qt
// Core, makes its QCoreApplication and ends. Start-up dominates both; the
// goal is each subcommand within 1.5 times the floor ("x_floor"; "version"
// shows what the program's own start-up adds).

// standard
#include <chrono>
#include <string>
#include <vector>

// Google Benchmark
#include <benchmark/benchmark.h>

// Qt
#include <QProcess>
#include <QStringList>

// ours
#include "platform/filesystem.h"
#include "platform/paths.h"
#include "tests/support/tempdir.h"

namespace {

using testsupport::readFile;
using testsupport::writeFile;

// The demo files and the text files the apply commands take, made once.
struct Folder {
    testsupport::TempDir dir;
    Folder()
    {
        for (const char* name : {"vrn.exe", "Itemdesc.edt", "Braydesc.edt", "IMP.dat"})
            writeFile(dir.file(name), readFile(platform::joinPath(VARNHOLD_DEMO_DIR, name)));
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

bool run(const char* program, const QStringList& args)
{
    QProcess process;
    process.setProgram(QString::fromUtf8(program));
    process.setArguments(args);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// The subcommand is timed; between its runs the floor runs untimed, and
// both are clocked by hand, so that "x_floor", the ratio of their means,
// compares runs made side by side on a machine whose speed drifts.
void measure(benchmark::State& state, const char* program, const QStringList& args)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration own{}, floor{};
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!run(program, args))
            state.SkipWithError("the program failed");
        own += Clock::now() - start;
        state.PauseTiming();
        const auto floorStart = Clock::now();
        run(VARNHOLD_QT_FLOOR, {});
        floor += Clock::now() - floorStart;
        state.ResumeTiming();
    }
    if (floor.count() > 0)
        state.counters["x_floor"] = double(own.count()) / double(floor.count());
}

QString at(const char* name)
{
    return QString::fromStdString(folder().dir.file(name));
}

void BM_Cli(benchmark::State& state, std::vector<const char*> words)
{
    QStringList args;
    for (const char* w : words)
        args << (QString(w).contains('.') ? at(w) : QString(w));
    measure(state, VARNHOLD_CLI, args);
}

void prepare()
{
    // The apply commands read what the export commands write.
    run(VARNHOLD_CLI, {"brk-export", at("vrn.exe"), at("rules.brk")});
    run(VARNHOLD_CLI, {"items-export", "--itemdesc", at("Itemdesc.edt"), at("items.vlc")});
    run(VARNHOLD_CLI, {"imp-dump", at("IMP.dat"), at("merc.ini")});
    // restore reads the backups that the first applies make.
    run(VARNHOLD_CLI, {"brk-apply", at("rules.brk"), at("vrn.exe")});
    run(VARNHOLD_CLI, {"items-apply", at("items.vlc"), at("Itemdesc.edt")});
    run(VARNHOLD_CLI, {"imp-apply", at("merc.ini"), at("IMP.dat")});
}

} // namespace

BENCHMARK_CAPTURE(BM_Cli, version, {"--version"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, brk_info, {"brk-info", "vrn.exe"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, brk_export, {"brk-export", "vrn.exe", "rules.brk"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, brk_apply, {"brk-apply", "rules.brk", "vrn.exe"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, items_export, {"items-export", "--itemdesc", "Itemdesc.edt", "items.vlc"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, items_apply, {"items-apply", "items.vlc", "Itemdesc.edt"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, names_def, {"names-def", "Itemdesc.edt", "names.def"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, imp_dump, {"imp-dump", "IMP.dat", "merc.ini"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, imp_apply, {"imp-apply", "merc.ini", "IMP.dat"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
// The dry runs make every check of their apply and read the file twice more
// (as the patch finds it and as it leaves it); diff reads and compares two
// files of one kind. Files alike, so that each ends with status 0.
BENCHMARK_CAPTURE(BM_Cli, brk_apply_dry_run, {"brk-apply", "--dry-run", "rules.brk", "vrn.exe"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, items_apply_dry_run, {"items-apply", "--dry-run", "items.vlc", "Itemdesc.edt"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, imp_apply_dry_run, {"imp-apply", "--dry-run", "merc.ini", "IMP.dat"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, restore_dry_run, {"restore", "--dry-run", "vrn.exe"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, restore, {"restore", "vrn.exe"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, diff_rules, {"diff", "vrn.exe", "rules.brk"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, diff_items, {"diff", "Itemdesc.edt", "items.vlc"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Cli, diff_mercenary, {"diff", "IMP.dat", "merc.ini"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    prepare();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
