#include <gtest/gtest.h>

#include "image/cell_encoding.h"
#include "qz1/qz1_harness.h"
#include "wizards/wizard_rules.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

// sampleImage() selects the 3D table over a 2 bar sensor at a trigger timing of 30.
TEST(Qz1NewTable, CorrectionsAreNotesAndTheTableIsSavedAtTheNewTriggerTiming) {
    TempFolder folder;
    qz::EepromBytes image2D = sampleImage();
    image2D[50] = 0x40 | 0x20 | 0x1C;
    const auto in2D = folder.write("2d.dat", fileBytes(image2D));
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

}  // namespace
}  // namespace qz1::test
