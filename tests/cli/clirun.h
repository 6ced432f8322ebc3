#pragma once
// The console program run as a process, as a script would run it, on a copy
// of the demo game folder.

// standard
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// Qt
#include <QProcess>

// ours
#include "cli/changes.h"
#include "platform/filesystem.h"
#include "platform/journal.h"
#include "platform/nativefilesystem.h"
#include "tests/support/itemtexts.h"
#include "platform/paths.h"
#include "tests/support/tempdir.h"

namespace clitest {

using testsupport::putText;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline Outcome varnhold(const std::vector<std::string>& args, const std::string& folder = {})
{
    QProcess process;
    process.setProgram(QString::fromUtf8(VARNHOLD_CLI));
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    process.setArguments(list);
    if (!folder.empty())
        process.setWorkingDirectory(QString::fromStdString(folder));
    // A start the system refuses is tried again a few times: Wine, on a
    // loaded machine, now and then fails to start a process ("Internal
    // error") that starts the next time. Every retry is said in the log; a
    // program that never starts still fails the test below.
    constexpr int kStartRetries = 3;
    process.start();
    for (int retry = 1; retry <= kStartRetries && !process.waitForStarted(60000) &&
                        process.error() == QProcess::FailedToStart;
         ++retry) {
        std::cerr << "varnhold did not start (" << process.errorString().toStdString() << "); retry " << retry
                  << " of " << kStartRetries << "\n";
        process.start();
    }
    Outcome run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "varnhold did not run to its end: " << process.errorString().toStdString();
        return run;
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

/// The run of bytes the editors own in the game file at `path`.
inline platform::PatchSpan ownedRun(const std::string& path)
{
    const std::uint64_t length = std::filesystem::file_size(path);
    return *cli::ownedBytes(*cli::gameFileKind(length), path)(length);
}

/// Leaves beside the game file at `path` the journal of a patch that
/// changes its owned bytes from what the file holds now to what `patched`
/// (a whole file) holds there, as a patch killed after its journal was
/// whole leaves it; the file is as it is.
inline bool leaveJournalOf(const std::string& path, const std::string& patched)
{
    const platform::PatchSpan owned = ownedRun(path);
    const std::string old = readFile(path);
    auto run = [&owned](const std::string& file) {
        const auto from = file.begin() + std::ptrdiff_t(owned.offset);
        return std::vector<std::uint8_t>(from, from + std::ptrdiff_t(owned.length));
    };
    platform::NativeFileSystem files;
    return static_cast<bool>(
        platform::PatchJournal::begin(files, path, old.size(), {{owned.offset, run(old), run(patched)}}));
}

/// A copy of the demo game folder's files in a fresh folder.
class Cli : public ::testing::Test {
protected:
    Cli()
    {
        for (const char* name : {"vrn.exe", "Itemdesc.edt", "Braydesc.edt", "IMP.dat", "names.def"})
            writeFile(dir.file(name), readFile(platform::joinPath(VARNHOLD_DEMO_DIR, name)));
    }
    std::string f(const char* name) const { return dir.file(name); }
    void expectRefused(const Outcome& run, const std::string& reason)
    {
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("varnhold: ", 0), 0u) << run.err;
    }
    TempDir dir;
};

} // namespace clitest
