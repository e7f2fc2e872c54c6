#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QRegularExpression>
#include <nlohmann/json.hpp>
#include <optional>

#include "image/cell_encoding.h"
#include "image/parameter_catalog.h"
#include "link/module_protocol.h"
#include "link/pty_simulator_host.h"
#include "qz1/qz1_harness.h"
#include "support/file_size_limit.h"
#include "support/pdf_text.h"
#include "wizards/wizard_rules.h"

// What each command makes of a tune: its output, the files it writes and its exit status.
namespace qz1::test {
namespace {

using qz::test::TempFolder;

TEST(Qz1Show, ListsEveryParameterInWordsAndTheTableInUseAsTheGrid) {
    const TempFolder folder;
    // A code GPI1 does not have.
    const ToolRun run = runTool({"show", writeTune(folder, "tune.dat", {{64, 0x17}, {72, 0x02}})});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // The grid lowest pressure first: byte 112 + k holds k steps of retard.
    for (const char* line :
         {"\nTrigger timing 30 deg\n", "\nRPM limit 6500 (fixed)\n", "\nCranking pulses 4\n",
          "\n6-cylinder engine yes\n", "\nMAP sensor 2 bar\n", "\nGPIO3 shift drop RPM 0 RPM\n",
          "\nTiming table: 3D, 2 bar MAP sensor (advance in deg)\n",
          "\nGPI1 function data log (code 7) (mode byte 0x17)\n",
          "\nGPIO2 function burnout RPM limit (mode byte 0x02)\n", "\nMAP/RPM      0    500   1000",
          "\n     18   30.0   29.9   29.8   29.7", "\n     60   17.1   17.0   16.9",
          "\nMAP/RPM   5500   6000"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
}

// Each difference in words, exit 1 when the files differ and 0 when they do not.
TEST(Qz1Diff, ListsEachDifferenceInWordsAndExitsOneWhenTheFilesDiffer) {
    using Changes = std::vector<std::pair<int, int>>;  // address, byte
    const struct {
        Changes a, b;
        std::string expected;  // the whole output, or its first line of so many
        long lines = 0;
    } cases[] = {
        {{}, {}, ""},
        {{}, {{51, 70}}, "RPM limit 6500 (fixed) -> 7000 (fixed)\n"},
        {{}, {{17, 14}}, "2D 500 RPM 29.1 -> 28.8 deg\n"},
        // 28.242 against 28.154 both show 28.2 at one decimal, so four are shown.
        {{}, {{18, 21}}, "2D 1000 RPM 28.2420 -> 28.1541 deg\n"},
        {{}, {{112, 9}}, "3D 0 RPM MAP 18 30.0 -> 29.2 deg\n"},
        {{}, {{40, 7}}, "Byte 40 (not interpreted) 0 -> 7\n"},
        {{},
         {{55, 2}, {279, 0}},
         "MAP sensor 2 bar -> 3 bar\n3D 10000 RPM MAP 60/90 15.3 -> 30.0 deg\n"},
        // Both trigger timings read as 40, both cranking pulses as 12.
        {{{48, 45}, {49, 13}},
         {{48, 50}, {49, 200}},
         "The images differ only in bytes that decode alike: addresses 48, 49\n"},
        // Cells hold retard from the trigger timing, so a new one moves every advance.
        {{}, {{48, 25}}, "Trigger timing 30 deg -> 25 deg\n", 1 + 21 + 168},
    };
    for (const auto& c : cases) {
        const TempFolder folder;
        const ToolRun run =
            runTool({"diff", writeTune(folder, "a.dat", c.a), writeTune(folder, "b.dat", c.b)});
        EXPECT_EQ(c.lines ? run.out.substr(0, c.expected.size()) : run.out, c.expected);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'),
                  c.lines ? c.lines : std::count(c.expected.begin(), c.expected.end(), '\n'));
        EXPECT_EQ(run.status, c.expected.empty() ? 0 : 1) << c.expected;
        EXPECT_EQ(run.err, "");
    }
}

qz::EepromBytes imageOf(const QByteArray& file) {
    qz::EepromBytes image{};
    EXPECT_EQ(file.size(), qz::kImageSize);
    std::copy(file.begin(), file.end(), image.begin() + qz::kImageFirstAddress);
    return image;
}

// apply writes the file as the program saves it, and takes what show --json prints (every
// variable, booleans as such, both tables in full precision) as edits that change nothing.
TEST(Qz1Apply, WithoutChangesWritesTheSameBytesButTheRoundTripOnes) {
    std::mt19937 random(3);
    for (int i = 0; i < 100; ++i) {
        const qz::EepromBytes original = qz::test::randomDecodableImage(random);
        TempFolder folder;
        const auto in = folder.write("in.dat", fileBytes(original));
        const ToolRun shown = runTool({"show", "--json", in});
        ASSERT_EQ(shown.status, 0) << shown.err;
        ASSERT_EQ(nlohmann::json::parse(shown.out).size(), qz::parameterCatalog().size() + 2);
        const ToolRun plain = runTool({"apply", in, "-o", folder.path("plain.dat")});
        ASSERT_EQ(plain.status, 0) << plain.err;
        ASSERT_EQ(imageOf(folder.read("plain.dat")), qz::test::expectedAfterRoundTrip(original));
        folder.write("edits.json", QByteArray::fromStdString(shown.out));
        const ToolRun viaJson = runTool(
            {"apply", in, "--json", folder.path("edits.json"), "-o", folder.path("json.dat")});
        ASSERT_EQ(viaJson.status, 0) << viaJson.err;
        ASSERT_EQ(folder.read("json.dat"), folder.read("plain.dat")) << "image " << i;
    }
}

// In the order given, across --set and --json. A changed cell saves its whole table against
// the final trigger timing (32.5 degrees from 35 is 28 steps, the other cells keep their
// decoded advances, now measured from 35); a table not edited keeps its bytes.
TEST(Qz1Apply, EditsAreEncodedInTheOrderGivenAsTheProgramSavesThem) {
    TempFolder edits;
    const auto json = edits.write("t.json", "{\"TrigTiming\": 20}");
    std::vector<std::pair<int, int>> table2DAt35 = {{48, 35}};
    for (int c = 1; c <= 21; ++c)
        table2DAt35.emplace_back(
            15 + c, c == 2 ? 28 : qz::encodeCell(35, 30 - 0.0879 * sampleImage()[15 + c]));
    const struct {
        std::vector<std::string> edits;
        std::vector<std::pair<int, int>> changes;  // address, byte
    } cases[] = {
        {{"--set", "Cyl4Engine=true", "--set", "Cyl6Engine=false"},
         {{50, 0x80 | 0x20 | 0x1C | 0x01}}},
        {{"--set", "TrigTiming=20", "--set", "TrigTiming=22"}, {{48, 22}}},
        {{"--json", json, "--set", "TrigTiming=22"}, {{48, 22}}},
        {{"--set", "TrigTiming=22", "--json", json}, {{48, 20}}},
        {{"--set", "Table2D[2]=32.5", "--set", "TrigTiming=35"}, table2DAt35},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        std::vector<std::string> arguments = {"apply", writeTune(folder, "in.dat"), "-o",
                                              folder.path("out.dat")};
        arguments.insert(arguments.end(), c.edits.begin(), c.edits.end());
        const ToolRun run = runTool(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        qz::EepromBytes expected = qz::test::expectedAfterRoundTrip(sampleImage());
        for (auto [address, byte] : c.changes) expected[address] = static_cast<std::uint8_t>(byte);
        EXPECT_EQ(imageOf(folder.read("out.dat")), expected) << c.edits[1];
    }
}

// A frequency that cannot be decoded is refused until it is set (the command-line rows).
TEST(Qz1Apply, SaysWhereTheModuleWillReadAnotherValueThanTheOneGiven) {
    TempFolder folder;
    const auto in = writeTune(folder, "in.dat", {{74, 0x90}});
    const auto out = folder.path("out.dat");
    // Cells: beyond the trigger timing, or further below it than a byte reaches; a value
    // only rounded to the module's step is no note.
    const ToolRun run = runTool({"apply", in, "--set", "ModuleFlags=0", "--set", "TrigTiming=30",
                                 "--set", "Table3D[7][8]=50", "--set", "Table3D[7][7]=-40", "--set",
                                 "Table3D[1][1]=25", "--set", "GPIO2VSSFreq=300", "-o", out});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "note: ModuleFlags = 0 reads back from " + out + " as 190\n" +
                           "note: Table3D[7][7] = -40 reads back from " + out + " as 7.59\n" +
                           "note: Table3D[7][8] = 50 reads back from " + out + " as 30\n");
    const qz::EepromBytes written = imageOf(folder.read("out.dat"));
    EXPECT_EQ(written[73], 0x2C);
    EXPECT_EQ(written[74], 0x01);
}

// sampleImage() selects the 3D table over a 2 bar sensor at a trigger timing of 30.
TEST(Qz1NewTable, CorrectionsAreNotesAndTheTableIsSavedAtTheNewTriggerTiming) {
    TempFolder folder;
    const auto in2D = writeTune(folder, "2d.dat", {{50, 0x40 | 0x20 | 0x1C}});
    const ToolRun curve = runTool({"new2d", in2D, "--trigger", "45", "--start-rpm", "1750",
                                   "--final-advance", "50", "-o", folder.path("curve.dat")});
    EXPECT_EQ(curve.status, 0) << curve.err;
    EXPECT_EQ(curve.err,
              "note: --trigger 45: Value must be less than or equal to 40 (40 used)\n"
              "note: --final-advance 50: Value must be less than or equal to trigger timing: 40 "
              "(40 used)\n"
              "note: --start-rpm 1750: 2000 used\n");
    const QByteArray written = folder.read("curve.dat");
    EXPECT_EQ(written[48 - 16], 40) << "the new trigger timing";
    const auto table = qz::generateCurve({40, 2000, 3000, 10, 40});
    for (int c = 1; c <= 21; ++c)
        EXPECT_EQ(static_cast<std::uint8_t>(written[c - 1]), qz::encodeCell(40, (*table)(c, 1)))
            << c;

    const auto in3D = folder.write("3d.dat", fileBytes(sampleImage()));
    const ToolRun flat = runTool({"new3d", in3D, "--base", "0", "-o", folder.path("flat.dat")});
    EXPECT_EQ(flat.err, "note: --base 0: kept within 8 to 30 degrees (8 used)\n");
    EXPECT_EQ(static_cast<std::uint8_t>(folder.read("flat.dat")[279 - 16]), qz::encodeCell(30, 8));
    // A lower trigger timing brings the base of 20 down with it, as the wizard's slider does.
    EXPECT_EQ(runTool({"new3d", in3D, "--trigger", "10", "-o", folder.path("low.dat")}).status, 0);
    EXPECT_EQ(folder.read("low.dat")[48 - 16], 10);
    EXPECT_EQ(static_cast<std::uint8_t>(folder.read("low.dat")[200 - 16]), qz::encodeCell(10, 10));
}

// Every "label:  value" line of the parameter page has its label and its value in one column
// each; a plain number prints with a blank before it.
void expectValuesAligned(const QStringList& lines) {
    const QRegularExpression labelled(QStringLiteral("^\\s*(\\S[^:]*:)\\s+(\\S.*)$"));
    std::optional<std::pair<qsizetype, qsizetype>> first;
    int counted = 0;
    for (const QString& line : lines) {
        const auto match = labelled.match(line);
        if (!match.hasMatch() || match.captured(1) == "Serial/Comment:" ||
            match.captured(1).startsWith("Firmware ID") || line.contains("Printed:"))
            continue;
        const bool plainNumber = match.captured(1) == "Cranking Pulses:";
        const auto columns =
            std::pair(match.capturedStart(1), match.capturedStart(2) - plainNumber);
        if (!first) first = columns;
        EXPECT_EQ(columns, *first) << line.toStdString();
        ++counted;
    }
    EXPECT_GE(counted, 8);
}

// The lines themselves are the report's own tests; here, that qz1 prints them as the
// program does, pages and columns, and that a report that cannot be written in full leaves
// the one already there whole.
TEST(Qz1Report, ATuneGivesAPdfWithItsPagesAndAlignedValues) {
    TempFolder folder;
    // The 2D table, each GPIO function set, and a frequency that decodes.
    const auto in = writeTune(folder, "tune.dat",
                              {{50, 0x40 | 0x20 | 0x1C}, {64, 1}, {72, 1}, {80, 1}, {74, 0}});
    const auto out = folder.path("report.pdf");
    const ToolRun run = runTool({"report", in, "-o", out, "--comment", "SN 4711"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QStringList lines = qz::test::pdfLines(QString::fromStdString(out));
    ASSERT_FALSE(lines.isEmpty()) << "pdftotext is needed: scripts/setup.sh installs it";
    EXPECT_EQ(lines.filter("Serial/Comment: SN 4711").size(), 3) << "on each of the pages";
    // The parameter page: from "Module Parameters" on.
    const auto start = lines.indexOf(QRegularExpression("\\s*Module Parameters\\s*"));
    ASSERT_GE(start, 0);
    expectValuesAligned(lines.mid(start));
    const QByteArray written = folder.read("report.pdf");
    {
        const qz::test::FileSizeLimit full(1000);
        EXPECT_EQ(runTool({"report", in, "-o", out}).status, 2);
    }
    EXPECT_EQ(folder.read("report.pdf"), written);
}

// One row for each way a transfer ends: its exit status and the line that says why, worded
// for a terminal. A download writes its file only when it read every byte cleanly; a failed
// verification lists each differing address; a port that cannot be opened is said once.
// --verbose, anywhere, puts the link trace among the tool's own lines.
TEST(Qz1Link, ATransferEndsWithItsStatusAndItsReason) {
    const int differing = qz::demoTune()[100];
    const std::string verification =
        "Upload aborted - EEPROM verification failed.\n  address 100: wrote " +
        std::to_string(differing) + ", read " + std::to_string(differing ^ 0x5A) + "\n";
    const struct {
        std::string command;
        std::string id;
        int status;
        std::string message;
        qz::SimulatorFaults faults = {};
    } cases[] = {
        // clang-format off
        {"download", "QZ-1 V2.1", 0, "Download From EEPROM: Firmware ID: QZ-1 V2.1"},
        {"download", "QZ-1", 4, "EEPROM read - unexpected reply at address 100. Check the cable.\n",
         {.strayByteAt = 100}},
        {"download", "QZ-1", 4, "was disconnected. Check the cable.\n", {.vanishAt = 100}},
        {"upload", "QZ-1", 4, verification, {.readBackDiffersAt = 100}},
        {"download", "", 4, "Cannot establish RS-232 link."},
        // clang-format on
    };
    for (const auto& c : cases) {
        qz::PtySimulatorHost module{qz::ModuleSimulator(qz::demoTune(), c.id, c.faults)};
        TempFolder folder;
        const auto file = c.command == "upload" ? folder.write("in.dat", fileBytes(qz::demoTune()))
                                                : folder.path("out.dat");
        const auto port = c.id.empty() ? "/dev/does-not-exist" : module.devicePath().toStdString();
        const ToolRun run = runTool({c.command, file, "--port", port, "--verbose"});
        QLoggingCategory::setFilterRules(QStringLiteral("qz.link.debug=false"));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.command == "download") {
            EXPECT_EQ(folder.read("out.dat"), c.status ? QByteArray() : fileBytes(qz::demoTune()));
        }
        const std::string open = "Error: Cannot open " + port;
        EXPECT_NE(run.err.find(c.id.empty() ? open : "\nqz.link: -> "), std::string::npos);
        EXPECT_EQ(run.err.find(open, run.err.find(open) + 1), std::string::npos) << "said once";
    }
}

}  // namespace
}  // namespace qz1::test
