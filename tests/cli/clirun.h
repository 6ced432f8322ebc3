#pragma once
// The console program run as a process, as a script would run it, on a copy
// of the demo game folder.

// standard
#include <algorithm>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// Qt
#include <QProcess>

// ours
#include "platform/filesystem.h"
#include "tests/support/tempdir.h"

namespace clitest {

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
    process.start();
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
