// Kestrin's file passes as the user waits for them: Read/Reset and Save
// Custom on a 600-byte IMP.dat, one single-byte access after another.

// standard
#include <cstdlib>
#include <string>

// Google Benchmark
#include <benchmark/benchmark.h>

// ours
#include "tests/support/nowindowchoices.h"
#include "kestrin/core/profile.h"
#include "kestrin/core/profilefile.h"
#include "tests/support/scriptedplatform.h"
#include "tests/support/tempdir.h"

namespace {

using namespace kestrin;

// A temporary folder with an IMP.dat holding a plausible profile, made once.
struct Files {
    testsupport::TempDir dir;
    std::string imp = dir.file("IMP.dat");
    platform::ScriptedPlatform ui{"Kestrin 1.03", platform::LineBreak::CrLf};

    Files()
    {
        std::string bytes = testsupport::patternBytes(600);
        bytes[0] = 52;   // voice
        bytes[4] = 3;    // face
        const std::string name = "Ivan";
        for (int cell = 0; cell < 20; ++cell)
            bytes[8 + 2 * cell] = cell < int(name.size()) ? name[cell] : '\0';
        bytes.replace(117, 11, std::string("TANPANTS\0\0\0", 11));
        bytes[268] = 3;  // body type
        bytes[305] = 80; // health
        bytes[577] = 2;  // attitude
        testsupport::writeFile(imp, bytes);
    }
};

Files& files()
{
    static Files f;
    return f;
}

void BM_ReadProfile(benchmark::State& state)
{
    Files& f = files();
    NoWindowChoices windows;
    for (auto _ : state) {
        Profile profile;
        if (const platform::Status read = readProfile(f.ui.files(), f.imp, profile, windows); !read)
            return state.SkipWithError(read.error().c_str());
        benchmark::DoNotOptimize(profile.name().size());
    }
}
BENCHMARK(BM_ReadProfile)->Unit(benchmark::kMicrosecond);

void BM_SaveProfile(benchmark::State& state)
{
    Files& f = files();
    Profile profile;
    NoWindowChoices windows;
    if (const platform::Status read = readProfile(f.ui.files(), f.imp, profile, windows); !read)
        return state.SkipWithError(read.error().c_str());
    profile.setCallsign("Hawk");
    profile.setPalette(Palette::Skin, "TANSKIN");
    for (auto _ : state) {
        f.ui.answer(platform::Answer::Ok); // "Well done."
        if (const platform::Status saved = saveProfile(f.ui, f.imp, profile); !saved)
            return state.SkipWithError(saved.error().c_str());
        if (!f.ui.failures().empty())
            return state.SkipWithError(f.ui.failures().front().c_str());
        f.ui.clearRecord();
    }
}
BENCHMARK(BM_SaveProfile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
