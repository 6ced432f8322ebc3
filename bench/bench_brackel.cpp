// Brackel's file work as the user waits for it: opening and saving a game
// executable of the largest build, and reading and writing a .brk file.

// standard
#include <cstdlib>
#include <iostream>
#include <string>

// Google Benchmark
#include <benchmark/benchmark.h>

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/exetable.h"
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

namespace {

using namespace brackel;

constexpr std::uint64_t kDe100Length = 3152896;

// A temporary folder with a [DE1.00] executable and a .brk file, made once.
struct Files {
    testsupport::TempDir dir;
    platform::NativeFileSystem fs;
    std::string exe = dir.file("game.exe");
    std::string brk = dir.file("weapons.brk");
    Flags flags;

    Files()
    {
        for (int p = 0; p < kWeaponCount; ++p)
            for (int k = 0; k < kKindCount; ++k)
                if ((p + k) % 3 == 0)
                    flags.set(static_cast<Kind>(k), p, true);
        testsupport::writeFile(exe, testsupport::patternBytes(kDe100Length));
        if (!writedata(fs, exe, *detectversion(kDe100Length), flags))
            std::abort();
        if (!platform::writeTextLines(fs, brk, brkLines(flags, kTableEntries - flags.count())))
            std::abort();
    }
};

Files& files()
{
    static Files f;
    return f;
}

void failOn(benchmark::State& state, const std::string& error)
{
    state.SkipWithError(error.c_str());
}

void BM_OpenExecutable(benchmark::State& state)
{
    Files& f = files();
    for (auto _ : state) {
        auto length = f.fs.length(f.exe);
        const ExeVersion* version = length ? detectversion(*length) : nullptr;
        if (!version)
            return failOn(state, "unknown build");
        auto table = readdata(f.fs, f.exe, *version);
        if (!table)
            return failOn(state, table.error());
        benchmark::DoNotOptimize(table->remaining);
    }
}
BENCHMARK(BM_OpenExecutable)->Unit(benchmark::kMicrosecond);

void BM_SaveExecutable(benchmark::State& state)
{
    Files& f = files();
    const ExeVersion& version = *detectversion(kDe100Length);
    for (auto _ : state) {
        if (auto written = writedata(f.fs, f.exe, version, f.flags); !written)
            return failOn(state, written.error());
    }
}
BENCHMARK(BM_SaveExecutable)->Unit(benchmark::kMicrosecond);

// A save that changes the table, as a user's save does: every other save
// puts back the entries the one before replaced.
void BM_SaveChangedExecutable(benchmark::State& state)
{
    Files& f = files();
    const ExeVersion& version = *detectversion(kDe100Length);
    Flags changed = f.flags;
    changed.set(Kind::Silencer, 1, !changed.get(Kind::Silencer, 1));
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        if (auto written = writedata(f.fs, f.exe, version, flip ? changed : f.flags); !written)
            return failOn(state, written.error());
    }
}
BENCHMARK(BM_SaveChangedExecutable)->Unit(benchmark::kMicrosecond);

void BM_ReadBrk(benchmark::State& state)
{
    Files& f = files();
    for (auto _ : state) {
        auto lines = platform::readTextLines(f.fs, f.brk);
        if (!lines)
            return failOn(state, lines.error());
        BrkParse parsed = parseBrk(*lines);
        if (parsed.outcome != BrkParse::Outcome::Recognized)
            return failOn(state, "not read as a .brk file");
        benchmark::DoNotOptimize(parsed.contents.remaining);
    }
}
BENCHMARK(BM_ReadBrk)->Unit(benchmark::kMicrosecond);

void BM_WriteBrk(benchmark::State& state)
{
    Files& f = files();
    const std::string path = f.dir.file("saved.brk");
    for (auto _ : state) {
        if (auto written = platform::writeTextLines(f.fs, path, brkLines(f.flags, 100)); !written)
            return failOn(state, written.error());
    }
}
BENCHMARK(BM_WriteBrk)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
