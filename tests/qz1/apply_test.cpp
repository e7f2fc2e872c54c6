#include <gtest/gtest.h>

#include <QFile>
#include <cmath>

#include "image/cell_encoding.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "qz1/qz1_harness.h"
#include "support/scripted_prompts.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

qz::EepromBytes imageOf(const QByteArray& file) {
    qz::EepromBytes image{};
    EXPECT_EQ(file.size(), qz::kImageSize);
    std::copy(file.begin(), file.end(), image.begin() + qz::kImageFirstAddress);
    return image;
}

TEST(Qz1Apply, WithoutChangesWritesTheSameBytesButTheRoundTripOnes) {
    std::mt19937 random(3);
    for (int i = 0; i < 100; ++i) {
        const qz::EepromBytes original = qz::test::randomDecodableImage(random);
        TempFolder folder;
        const auto in = folder.write("in.dat", fileBytes(original));
        const ToolRun plain = runTool({"apply", in, "-o", folder.path("plain.dat")});
        ASSERT_EQ(plain.status, 0) << plain.err;
        ASSERT_EQ(imageOf(folder.read("plain.dat")), qz::test::expectedAfterRoundTrip(original));

        // What show --json prints is accepted as edits and changes nothing more.
        const ToolRun shown = runTool({"show", "--json", in});
        folder.write("edits.json", QByteArray::fromStdString(shown.out));
        const ToolRun viaJson = runTool(
            {"apply", in, "--json", folder.path("edits.json"), "-o", folder.path("json.dat")});
        ASSERT_EQ(viaJson.status, 0) << viaJson.err;
        ASSERT_EQ(folder.read("json.dat"), folder.read("plain.dat")) << "image " << i;
    }
}

TEST(Qz1Apply, ChangedVariablesAreEncodedAsTheProgramSavesThem) {
    TempFolder edits;
    const auto json = edits.write("t.json", "{\"TrigTiming\": 20}");
    const struct {
        std::vector<std::string> edits;
        int address;
        int byte;
    } cases[] = {
        {{"--set", "MaxRPMLimit=3150"}, 51, 32},
        {{"--set", "Cyl4Engine=true", "--set", "Cyl6Engine=false"}, 50, 0x80 | 0x20 | 0x1C | 0x01},
        {{"--set", "GPIO2Mode=4", "--set", "GPIO2OneShotDelay=true"}, 72, 0x14},
        // In the order given, across --set and --json.
        {{"--set", "TrigTiming=20", "--set", "TrigTiming=22"}, 48, 22},
        {{"--json", json, "--set", "TrigTiming=22"}, 48, 22},
        {{"--set", "TrigTiming=22", "--json", json}, 48, 20},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const auto in = folder.write("in.dat", fileBytes(sampleImage()));
        std::vector<std::string> arguments = {"apply", in, "-o", folder.path("out.dat")};
        arguments.insert(arguments.end(), c.edits.begin(), c.edits.end());
        const ToolRun run = runTool(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        const qz::EepromBytes out = imageOf(folder.read("out.dat"));
        EXPECT_EQ(out[c.address], c.byte) << c.edits[1];
        for (int a = 16; a <= 36; ++a)
            EXPECT_EQ(out[a], sampleImage()[a]) << "untouched table kept";
    }
}

TEST(Qz1Apply, AChangedCellEncodesItsWholeTableAgainstTheFinalTriggerTiming) {
    TempFolder folder;
    const qz::EepromBytes original = sampleImage();
    const auto in = folder.write("in.dat", fileBytes(original));
    const ToolRun run = runTool({"apply", in, "--set", "Table2D[2]=32.5", "--set", "TrigTiming=35",
                                 "--set", "Table3D[1][8]=20", "-o", folder.path("out.dat")});
    ASSERT_EQ(run.status, 0) << run.err;
    const qz::EepromBytes out = imageOf(folder.read("out.dat"));
    EXPECT_EQ(out[17], qz::encodeCell(35, 32.5));
    EXPECT_EQ(out[17], 28);
    // The other cells keep their decoded advances, now measured from 35 degrees.
    for (int c = 1; c <= 21; ++c) {
        if (c == 2) continue;
        const double advance = std::max(0.0, 30 - 0.0879 * original[15 + c]);
        EXPECT_EQ(out[15 + c], qz::encodeCell(35, advance)) << c;
    }
    EXPECT_EQ(out[112], qz::encodeCell(35, 20));  // Table3D[1][8] is stored first
    EXPECT_EQ(out[113], qz::encodeCell(35, 30 - 0.0879 * 1));
}

TEST(Qz1Apply, BadInputIsOneLineExitTwoAndNoOutputFile) {
    TempFolder folder;
    const auto in = folder.write("in.dat", fileBytes(sampleImage()));
    const auto json = [&](const char* name, const char* text) {
        return folder.write(name, QByteArray(text));
    };
    const auto out = folder.path("out.dat");
    const struct {
        std::vector<std::string> edits;
        std::string message;
    } cases[] = {
        {{"--set", "Bogus=1"}, "--set Bogus=1: unknown variable name \"Bogus\""},
        {{"--set", "GPI1Mode=256"},
         "--set GPI1Mode=256: value 256 is out of range for GPI1Mode (a byte, 0..255)"},
        {{"--set", "TrigTiming=40000"},
         "value 40000 is out of range for TrigTiming (an Integer, -32768..32767)"},
        {{"--set", "TrigTiming=99999999999999999999"}, "is out of range for TrigTiming"},
        {{"--set", "TrigTiming=2.5"}, "expected a whole number, found \"2.5\""},
        {{"--set", "Cyl4Engine=1"}, "Cyl4Engine takes true or false, not \"1\""},
        {{"--set", "Table2D[22]=5"}, "column 22 is outside 1..21"},
        {{"--set", "Table3D[1][9]=5"}, "row 9 is outside 1..8"},
        {{"--set", "Table3D[1]=5"}, "a 3D cell is named Table3D[c][r]"},
        {{"--set", "Table2D[1]=abc"}, "expected an advance in degrees, found \"abc\""},
        {{"--set", "TrigTiming"}, "expected NAME=VALUE"},
        {{"--json", json("bad.json", "{\"TrigTiming\": ")}, "bad.json: malformed JSON at byte"},
        {{"--json", json("list.json", "[1, 2]")},
         "list.json: expected one JSON object of variables"},
        {{"--json", json("unknown.json", "{\"Nope\": 1}")},
         "unknown.json: unknown variable name \"Nope\""},
        {{"--json", json("half.json", "{\"RetardComp\": 2.5}")},
         "half.json: RetardComp: value 2.5 is not a whole number"},
        {{"--json", json("huge.json", "{\"TrigTiming\": 1E8877777}")},
         "huge.json: a number in the JSON is out of range"},  // found by the fuzzer
        {{"--json", json("flag.json", "{\"Cyl6Engine\": 1}")},
         "flag.json: Cyl6Engine: expected true or false, found 1"},
        {{"--json", json("short.json", "{\"Table2D\": [1, 2]}")},
         "short.json: Table2D: expected an array of 21 values"},
        {{"--json", folder.path("absent.json")}, "absent.json: No such file or directory"},
        {{"--set", "GPIO3ShiftRPM1=13000"},
         "out.dat: cannot encode GPIO3ShiftRPM1 = 13000: Overflow"},
        {{"--set", "RetardComp=-1"}, "cannot encode RetardComp = -1: Overflow"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"apply", in};
        arguments.insert(arguments.end(), c.edits.begin(), c.edits.end());
        arguments.insert(arguments.end(), {"-o", out});
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(out))) << c.message;
    }
}

// Refused until it is set (the command-line rows); then the file is written.
TEST(Qz1Apply, AnUndecodableFrequencyIsWrittenOnceSet) {
    TempFolder folder;
    qz::EepromBytes image = sampleImage();
    image[74] = 0x90;
    const auto in = folder.write("in.dat", fileBytes(image));
    const ToolRun mended =
        runTool({"apply", in, "--set", "GPIO2VSSFreq=300", "-o", folder.path("out.dat")});
    EXPECT_EQ(mended.status, 0) << mended.err;
    const qz::EepromBytes written = imageOf(folder.read("out.dat"));
    EXPECT_EQ(written[73], 0x2C);
    EXPECT_EQ(written[74], 0x01);
}

TEST(Qz1Apply, SaysWhereTheModuleWillReadAnotherValueThanTheOneGiven) {
    TempFolder folder;
    const auto in = folder.write("in.dat", fileBytes(sampleImage()));
    const auto out = folder.path("out.dat");
    // Cells: beyond the trigger timing, or further below it than a byte reaches; a value
    // only rounded to the module's step is no note.
    const ToolRun run = runTool({"apply", in, "--set", "MaxRPMLimit=2000", "--set", "ModuleFlags=0",
                                 "--set", "TrigTiming=30", "--set", "Table3D[7][8]=50", "--set",
                                 "Table3D[7][7]=-40", "--set", "Table3D[1][1]=25", "-o", out});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "note: MaxRPMLimit = 2000 reads back from " + out + " as 3000\n" +
                           "note: ModuleFlags = 0 reads back from " + out + " as 190\n" +
                           "note: Table3D[7][7] = -40 reads back from " + out + " as 7.59\n" +
                           "note: Table3D[7][8] = 50 reads back from " + out + " as 30\n");
}

}  // namespace
}  // namespace qz1::test
