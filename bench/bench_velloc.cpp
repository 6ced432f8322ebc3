// Velloc's file work as the user waits for it: opening and saving an item
// text file, and writing and reading the text form, all 3 x 351 texts filled.

// standard
#include <algorithm>
#include <cstdlib>
#include <string>

// glibc: the heap in use, for the memory a read takes
#include <malloc.h>

// Google Benchmark
#include <benchmark/benchmark.h>

// ours
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/textform.h"

namespace {

using namespace velloc;

/// Texts of the lengths the game's own have: names of 5 to 30 characters,
/// descriptions of 80 to 230, a few with line breaks.
ItemTexts realisticTexts()
{
    ItemTexts texts;
    const std::string words = "A reliable weapon with a short barrel, light enough to carry all day. ";
    for (int n = 0; n < kItemCount; ++n) {
        const std::string number = std::to_string(n);
        texts.shortNames[n] = ("Item " + number + " Mk II").substr(0, static_cast<std::size_t>(5 + n % 8));
        texts.fullNames[n] = "The full name of item " + number + (n % 2 ? " (modified)" : "");
        std::string description;
        while (description.size() < static_cast<std::size_t>(80 + (n * 37) % 150))
            description += words;
        description.resize(static_cast<std::size_t>(80 + (n * 37) % 150));
        if (n % 25 == 0)
            description.replace(40, 2, "\r\n");
        texts.descriptions[n] = description;
    }
    return texts;
}

// A temporary folder with an item text file and a text-form file, made once.
struct Files {
    testsupport::TempDir dir;
    platform::NativeFileSystem fs;
    std::string edt = dir.file("Itemdesc.edt");
    std::string vlc = dir.file("items.vlc");
    ItemTexts texts = realisticTexts();

    Files()
    {
        testsupport::writeFile(edt, testsupport::patternBytes(kItemFileLength));
        if (!writedata(fs, edt, texts))
            std::abort();
        if (!platform::writeTextLines(fs, vlc, textFormLines(texts)))
            std::abort();
    }
};

Files& files()
{
    static Files f;
    return f;
}

void BM_ReadItemFile(benchmark::State& state)
{
    Files& f = files();
    for (auto _ : state) {
        auto texts = readdata(f.fs, f.edt, FileType::Items, f.texts);
        if (!texts)
            return state.SkipWithError(texts.error().c_str());
        benchmark::DoNotOptimize(texts->descriptions[350].size());
    }
}
BENCHMARK(BM_ReadItemFile)->Unit(benchmark::kMicrosecond);

void BM_SaveItemFile(benchmark::State& state)
{
    Files& f = files();
    for (auto _ : state) {
        if (auto written = writedata(f.fs, f.edt, f.texts); !written)
            return state.SkipWithError(written.error().c_str());
    }
}
BENCHMARK(BM_SaveItemFile)->Unit(benchmark::kMicrosecond);

// A save that changes texts, as a user's save does: every other save puts
// back the texts the one before replaced. `items` texts change, spread over
// the file (1: one name; 350: the first name to the last description).
void BM_SaveChangedItemFile(benchmark::State& state)
{
    Files& f = files();
    ItemTexts changed = f.texts;
    const int items = static_cast<int>(state.range(0));
    for (int i = 0; i < items; ++i)
        changed.descriptions[i * (kItemCount / items)] += " Changed.";
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        if (auto written = writedata(f.fs, f.edt, flip ? changed : f.texts); !written)
            return state.SkipWithError(written.error().c_str());
    }
}
BENCHMARK(BM_SaveChangedItemFile)->Arg(1)->Arg(kItemCount)->Unit(benchmark::kMicrosecond);

void BM_WriteTextForm(benchmark::State& state)
{
    Files& f = files();
    const std::string path = f.dir.file("saved.vlc");
    for (auto _ : state) {
        if (auto written = platform::writeTextLines(f.fs, path, textFormLines(f.texts)); !written)
            return state.SkipWithError(written.error().c_str());
    }
}
BENCHMARK(BM_WriteTextForm)->Unit(benchmark::kMicrosecond);

void BM_ReadTextForm(benchmark::State& state)
{
    Files& f = files();
    for (auto _ : state) {
        auto lines = platform::readTextLines(f.fs, f.vlc);
        if (!lines)
            return state.SkipWithError(lines.error().c_str());
        TextFormRead read = parseTextForm(*lines, f.texts);
        if (read.outcome != TextFormRead::Outcome::Accepted)
            return state.SkipWithError("not read as a text-form file");
        benchmark::DoNotOptimize(read.texts.descriptions[350].size());
    }
}
BENCHMARK(BM_ReadTextForm)->Unit(benchmark::kMicrosecond);

// The worst text form the reader takes: a file at the size limit of nothing
// but empty lines, one line per byte. "x_file" is the heap the read lines
// and the parse hold at their peak, in multiples of the file's size; the
// goal is a small multiple (under 8).
void BM_ReadTextFormAtTheLimit(benchmark::State& state)
{
    Files& f = files();
    const std::string path = f.dir.file("blank.vlc");
    std::string bytes = "[head]\nmode=velloc-a\nversion=2.0\n";
    bytes.resize(platform::kMaxTextFileLength, '\n');
    testsupport::writeFile(path, bytes);
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto lines = platform::readTextLines(f.fs, path);
        if (!lines)
            return state.SkipWithError(lines.error().c_str());
        TextFormRead read = parseTextForm(*lines, f.texts);
        if (read.outcome != TextFormRead::Outcome::Accepted)
            return state.SkipWithError("not read as a text-form file");
        peak = std::max(peak, mallinfo2().uordblks - before);
        benchmark::DoNotOptimize(read.texts.descriptions[350].size());
    }
    state.counters["x_file"] = double(peak) / double(bytes.size());
}
BENCHMARK(BM_ReadTextFormAtTheLimit)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
