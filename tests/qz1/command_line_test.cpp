#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <filesystem>

#include "qz1/qz1_harness.h"
#include "qz1/sim_faults.h"
#include "support/file_size_limit.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

// Every command's own --help and the mistakes any command can meet, each a row: one line on
// stderr for each problem, OUT never written, and no Qt message on the real stderr.
TEST(Qz1CommandLine, EveryCommandParsesItsArgumentsAlike) {
    TempFolder folder;
    const auto good = writeTune(folder, "good.dat");
    const auto good2D = writeTune(folder, "good2d.dat", {{50, 0x40 | 0x20 | 0x1C}});
    // A frequency above 32767.
    const auto vss = writeTune(folder, "vss.dat", {{74, 0x9C}, {75, 45}});
    const auto vss2D =
        writeTune(folder, "vss2d.dat", {{74, 0x9C}, {75, 45}, {50, 0x40 | 0x20 | 0x1C}});
    const auto out = folder.path("out.dat");
    const auto nullJson = folder.write("null.json", "{\"GPIO2VSSFreq\": null}");
    const auto pipe = qz::test::makeFifo(folder.path("pipe.dat"));
    const QByteArray goodBytes = folder.read("good.dat");

    const std::string overflow = ": GPIO2VSSFreq: Overflow";
    struct Row {
        std::vector<std::string> arguments;
        int status;
        std::string err;  // found in stderr, its only line; none when empty
        std::string out = {};
    };
    const auto set = [&](const std::string& edit) {
        return std::vector<std::string>{"apply", good, "--set", edit, "-o", out};
    };
    const auto json = [&](const char* name, const char* text) {
        const auto path = *text ? folder.write(name, QByteArray(text)) : folder.path(name);
        return std::vector<std::string>{"apply", good, "--json", path, "-o", out};
    };
    std::vector<Row> rows = {
        // clang-format off
        {{}, 2, "qz1: no command given; see qz1 --help\n"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"show"}, 2, "qz1: show needs FILE\n"},
        {{"show", "--bogus", good}, 2, "show: unknown option \"--bogus\""},
        {{"diff", good, good, good}, 2, "diff: unexpected argument \""},
        {{"apply", good, "-o", out, "-o", out}, 2, "apply: -o given twice"},
        {{"apply", good, "--set", "TrigTiming=20", "-o"}, 2, "apply: -o needs a value"},
        {{"new2d", good}, 2, "new2d needs IN and -o OUT"},  // -o is required too
        {{"sim", "--fault", "sparks"}, 2, "unknown fault \"sparks\""},
        {{"report", "missing.dat", "-o", out}, 2, "qz1: missing.dat: No such file"},
        {{"report", good, "-o", "/nonexistent/r.pdf"},
         2, "/nonexistent/r.pdf: No such file or directory"},
        // Only regular files are read or replaced, and a report never replaces its tune.
        {{"apply", good, "--json", pipe, "-o", out}, 2, pipe + ": not a regular file"},
        {{"apply", good, "-o", pipe}, 2, pipe + ": not a regular file"},
        {{"report", good, "-o", good}, 2, good + " is the tune itself"},
        // A value that is not a number is bad input; a number corrected is a note.
        {{"new2d", good2D, "--trigger", "abc", "-o", out},
         2, "--trigger takes a number, not \"abc\""},
        {{"new2d", good2D, "--final-advance", "nan", "-o", out}, 2, "takes a number, not \"nan\""},
        // A table wizard needs its own table selected and whole degrees.
        {{"new2d", good, "-o", out}, 2, "the selected timing table is not 2D"},
        {{"new3d", good2D, "-o", out}, 2, "the selected timing table is not 3D"},
        {{"new3d", good, "--base", "4.5", "-o", out}, 2, "whole degrees from 0 to 40"},
        {{"new3d", good, "--trigger", "41", "-o", out}, 2, "whole degrees from 0 to 40"},
        // Edits that cannot be made.
        {set("Bogus=1"), 2, "--set Bogus=1: unknown variable name \"Bogus\""},
        {set("GPI1Mode=256"),
         2, "--set GPI1Mode=256: value 256 is out of range for GPI1Mode (a byte, 0..255)"},
        {set("TrigTiming=40000"),
         2, "value 40000 is out of range for TrigTiming (an Integer, -32768..32767)"},
        {set("TrigTiming=99999999999999999999"), 2, "is out of range for TrigTiming"},
        {set("TrigTiming=2.5"), 2, "expected a whole number, found \"2.5\""},
        {set("Cyl4Engine=1"), 2, "Cyl4Engine takes true or false, not \"1\""},
        {set("Table2D[22]=5"), 2, "column 22 is outside 1..21"},
        {set("Table3D[1][9]=5"), 2, "row 9 is outside 1..8"},
        {set("Table3D[1]=5"), 2, "a 3D cell is named Table3D[c][r]"},
        {set("Table2D[1]=abc"), 2, "expected an advance in degrees, found \"abc\""},
        {set("TrigTiming"), 2, "expected NAME=VALUE"},
        {json("bad.json", "{\"TrigTiming\": "), 2, "bad.json: malformed JSON at byte"},
        {json("list.json", "[1, 2]"), 2, "list.json: expected one JSON object of variables"},
        {json("unknown.json", "{\"Nope\": 1}"), 2, "unknown.json: unknown variable name \"Nope\""},
        {json("half.json", "{\"RetardComp\": 2.5}"),
         2, "half.json: RetardComp: value 2.5 is not a whole number"},
        {json("huge.json", "{\"TrigTiming\": 1E8877777}"),
         2, "huge.json: a number in the JSON is out of range"},
        {json("flag.json", "{\"Cyl6Engine\": 1}"),
         2, "flag.json: Cyl6Engine: expected true or false, found 1"},
        {json("short.json", "{\"Table2D\": [1, 2]}"),
         2, "short.json: Table2D: expected an array of 21 values"},
        {json("absent.json", ""), 2, "absent.json: No such file or directory"},
        {set("GPIO3ShiftRPM1=13000"), 2, "out.dat: cannot encode GPIO3ShiftRPM1 = 13000: Overflow"},
        // A frequency that cannot be decoded is shown as such, and refused by every command
        // that writes or sends the file whole.
        {{"show", vss}, 3, vss + overflow, "frequency cannot be decoded"},
        {{"show", "--json", vss}, 3, vss + overflow, "\"GPIO2VSSFreq\": null"},
        {{"diff", good, vss}, 3, vss + overflow, "0 -> cannot be decoded"},
        {{"apply", vss, "-o", out}, 3, vss + overflow + " (set GPIO2VSSFreq"},
        {{"apply", vss, "--json", nullJson, "-o", out}, 3, " (set GPIO2VSSFreq"},  // null: not set
        {{"report", vss, "-o", out}, 3, vss + overflow},
        {{"new2d", vss2D, "-o", out}, 3, vss2D + overflow},
        {{"new3d", vss, "-o", out}, 3, vss + overflow},
        {{"upload", vss, "--port", "/dev/null"}, 3, vss + overflow},
        // clang-format on
    };
    for (std::size_t i = 0; i < commands().size(); ++i) {
        const std::string& name = commands()[i].name;
        rows.push_back({{name, good, i % 2 ? "-h" : "--help"}, 0, "", "Usage:\n  qz1 " + name});
    }
    rows.push_back({{"--help"}, 0, "", "stray=ADDRESS, vanish=ADDRESS"});

    for (const auto& row : rows) {
        const std::string line = row.arguments.empty() ? "" : row.arguments.front();
        testing::internal::CaptureStderr();
        const ToolRun run = runTool(row.arguments);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << line;
        EXPECT_EQ(run.status, row.status) << line << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), row.err.empty() ? 0 : 1);
        EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
        EXPECT_NE(run.out.find(row.out), std::string::npos) << line;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(out))) << line;
    }
    EXPECT_EQ(folder.read("good.dat"), goodBytes);
    EXPECT_FALSE(QFileInfo(QString::fromStdString(pipe)).isFile()) << "still the pipe";
}

// The manual page cannot be generated from the table, so it is checked against it.
TEST(Qz1CommandLine, TheManualPageNamesEveryCommandOptionAndFault) {
    QFile file(QString::fromStdString(
        (std::filesystem::path(__FILE__).parent_path() / "../../packaging/qz1.1").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Without roff's font changes and the backslash of "\-".
    const std::string text =
        QString(file.readAll()).remove(QRegularExpression(R"(\\f.|\\(?=-))")).toStdString();
    for (const auto& command : commands()) {
        EXPECT_NE(text.find(".B qz1 " + command.name + '\n'), std::string::npos) << command.name;
        for (const auto& parameter : command.synopsis)
            EXPECT_NE(text.find(parameter.name), std::string::npos) << parameter.name;
    }
    for (const auto& fault : faultKinds())
        EXPECT_NE(text.find(fault.shown()), std::string::npos) << fault.shown();
}

}  // namespace
}  // namespace qz1::test
