// The three editors' start, each as a whole process from its start to the
// first painting of its main window, beside the floor of every windowed
// program: qtwidgetsfloor, which makes its QApplication and shows one empty
// window. Each program ends itself after its first paint when
// VARNHOLD_EXIT_AFTER_FIRST_PAINT is set. The programs run in the demo game
// folder (Brackel reads names.def from there); Kestrin takes IMP.dat as its
// argument, as its desktop entry passes it.
//
// Needs an X display: xvfb-run -a build/bench/bench_startup
//
// Counters, each the ratio of the program's mean to the floor's, from runs
// made side by side: x_floor (wall time), x_floor_cpu (user and system time)
// and x_floor_rss (peak resident memory); rss_MiB and floor_rss_MiB are the
// two means. The goal is 1.2 or less in time and 1.3 or less in memory. The
// "floor" row runs the floor against itself and shows how noisy the machine
// is.

// standard
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

// POSIX
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Google Benchmark
#include <benchmark/benchmark.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    bool ok = false;
    Clock::duration wall{};
    double cpuSeconds = 0;
    long maxRssKiB = 0;
};

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

/// Starts the program in `folder` and waits for it; a program that has not
/// ended after a minute is ended by the alarm it inherits.
Run run(const char* program, const std::vector<std::string>& args, const char* folder)
{
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    Run result;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (chdir(folder) != 0)
            _exit(127);
        alarm(60);
        execv(program, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return result;
    result.wall = Clock::now() - start;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    result.maxRssKiB = usage.ru_maxrss;
    return result;
}

struct Totals {
    Clock::duration wall{};
    double cpu = 0;
    double rss = 0;
    void add(const Run& r)
    {
        wall += r.wall;
        cpu += r.cpuSeconds;
        rss += double(r.maxRssKiB);
    }
};

// The program is timed; the floor runs beside it untimed, first on every
// other round so that neither always follows the other. Both are clocked by
// hand, so the ratios compare runs made side by side on a machine whose
// speed drifts.
void BM_Startup(benchmark::State& state, const char* program, std::vector<std::string> args)
{
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no X display: run under xvfb-run -a");
        return;
    }
    auto floorRun = [&] {
        state.PauseTiming();
        const Run r = run(VARNHOLD_WIDGETS_FLOOR, {}, VARNHOLD_DEMO_DIR);
        state.ResumeTiming();
        return r;
    };
    Totals own, floor;
    long rounds = 0;
    for (auto _ : state) {
        const bool floorFirst = rounds++ % 2 == 1;
        if (floorFirst)
            floor.add(floorRun());
        const Run r = run(program, args, VARNHOLD_DEMO_DIR);
        if (!r.ok) {
            state.SkipWithError("the program failed or never painted its window");
            return;
        }
        own.add(r);
        if (!floorFirst)
            floor.add(floorRun());
    }
    if (floor.wall.count() > 0 && floor.cpu > 0 && floor.rss > 0) {
        state.counters["x_floor"] = double(own.wall.count()) / double(floor.wall.count());
        state.counters["x_floor_cpu"] = own.cpu / floor.cpu;
        state.counters["x_floor_rss"] = own.rss / floor.rss;
        state.counters["rss_MiB"] = own.rss / double(rounds) / 1024.0;
        state.counters["floor_rss_MiB"] = floor.rss / double(rounds) / 1024.0;
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_Startup, floor, VARNHOLD_WIDGETS_FLOOR, {})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Startup, brackel, VARNHOLD_BRACKEL, {})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Startup, velloc, VARNHOLD_VELLOC, {})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Startup, kestrin, VARNHOLD_KESTRIN, {VARNHOLD_DEMO_DIR "/IMP.dat"})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // The programs draw on the X display that xvfb-run gives, whatever the
    // caller's platform plugin; each ends after its first paint.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("VARNHOLD_EXIT_AFTER_FIRST_PAINT", "1", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
