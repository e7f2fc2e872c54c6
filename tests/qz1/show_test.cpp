#include <gtest/gtest.h>

#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

TEST(Qz1Show, ListsEveryParameterInWordsAndTheTableInUseAsTheGrid) {
    TempFolder folder;
    qz::EepromBytes image = sampleImage();
    image[64] = 0x17;  // a code GPI1 does not have
    image[72] = 0x02;
    const auto path = folder.write("tune.dat", fileBytes(image));
    const ToolRun run = runTool({"show", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* line :
         {"\nTrigger timing 30 deg\n", "\nRPM limit 6500 (fixed)\n", "\nCranking pulses 4\n",
          "\n6-cylinder engine yes\n", "\nMAP sensor 2 bar\n", "\nGPIO3 shift drop RPM 0 RPM\n",
          "\nTiming table: 3D, 2 bar MAP sensor (advance in deg)\n",
          "\nGPI1 function data log (code 7) (mode byte 0x17)\n",
          "\nGPIO2 function burnout RPM limit (mode byte 0x02)\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    // Lowest pressure first: byte 112 + k holds k steps of retard.
    EXPECT_NE(run.out.find("\nMAP/RPM      0    500   1000"), std::string::npos);
    EXPECT_NE(run.out.find("\n     18   30.0   29.9   29.8   29.7"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n     60   17.1   17.0   16.9"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nMAP/RPM   5500   6000"), std::string::npos);
}

}  // namespace
}  // namespace qz1::test
