// A keystroke in Velloc's short-name box with the full list shown: the model
// takes the text and the item's list entry is renewed.

// standard
#include <cstdlib>

// Qt
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

// Google Benchmark
#include <benchmark/benchmark.h>

// ours
#include "platform/codepage.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"
#include "velloc/windows/mainwindow.h"
#include "velloc/core/session.h"
#include "velloc/core/textform.h"

namespace {

void BM_ShortNameKeystrokeFullList(benchmark::State& state)
{
    testsupport::TempDir dir;
    velloc::ItemTexts texts;
    for (int n = 0; n < velloc::kItemCount; ++n)
        texts.shortNames[n] = "Item " + std::to_string(n);
    testsupport::writeFile(dir.file("texts.vlc"), platform::joinLines(velloc::textFormLines(texts)));

    platform::ScriptedPlatform ui("Velloc");
    ui.setWorkingFolder(dir.path());
    velloc::Session session(ui);
    velloc::MainWindow window(session, platform::CodePage::system());
    window.show();
    ui.chooseFile(dir.file("texts.vlc"));
    ui.answer(platform::Answer::Ok);
    session.open();
    window.findChild<QCheckBox*>("cball")->setChecked(true);
    window.findChild<QListWidget*>("itemlist")->setCurrentRow(200);
    auto* box = window.findChild<QLineEdit*>("tbshortname");

    bool grow = true;
    for (auto _ : state) {
        // One typed character, then one deleted, so the text stays short.
        if (grow)
            box->insert("x");
        else
            box->backspace();
        grow = !grow;
    }
    benchmark::DoNotOptimize(session.texts().shortNames[200]);
}
BENCHMARK(BM_ShortNameKeystrokeFullList)->Unit(benchmark::kMicrosecond);

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
