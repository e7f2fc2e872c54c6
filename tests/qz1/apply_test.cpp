#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "image/cell_encoding.h"
#include "image/parameter_catalog.h"
#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

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

// A frequency that cannot be decoded is refused until it is set (the command-line rows).
TEST(Qz1Apply, SaysWhereTheModuleWillReadAnotherValueThanTheOneGiven) {
    TempFolder folder;
    qz::EepromBytes image = sampleImage();
    image[74] = 0x90;
    const auto in = folder.write("in.dat", fileBytes(image));
    const auto out = folder.path("out.dat");
    // Cells: beyond the trigger timing, or further below it than a byte reaches; a value
    // only rounded to the module's step is no note.
    const ToolRun run =
        runTool({"apply", in, "--set", "MaxRPMLimit=2000", "--set", "ModuleFlags=0", "--set",
                 "TrigTiming=30", "--set", "Table3D[7][8]=50", "--set", "Table3D[7][7]=-40",
                 "--set", "Table3D[1][1]=25", "--set", "GPIO2VSSFreq=300", "-o", out});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "note: MaxRPMLimit = 2000 reads back from " + out + " as 3000\n" +
                           "note: ModuleFlags = 0 reads back from " + out + " as 190\n" +
                           "note: Table3D[7][7] = -40 reads back from " + out + " as 7.59\n" +
                           "note: Table3D[7][8] = 50 reads back from " + out + " as 30\n");
    const qz::EepromBytes written = imageOf(folder.read("out.dat"));
    EXPECT_EQ(written[73], 0x2C);
    EXPECT_EQ(written[74], 0x01);
}

}  // namespace
}  // namespace qz1::test
