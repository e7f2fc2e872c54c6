#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "image/parameter_catalog.h"
#include "image/parameter_codec.h"
#include "qz1/qz1_harness.h"
#include "support/scripted_prompts.h"

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

TEST(Qz1Show, JsonHoldsWhatDecodingGivesInFullPrecision) {
    std::mt19937 random(11);
    for (int i = 0; i < 50; ++i) {
        qz::ModuleData data;
        data.EEPROMBuffer = qz::test::randomDecodableImage(random);
        TempFolder folder;
        const auto path = folder.write("tune.dat", fileBytes(data.EEPROMBuffer));
        qz::test::ScriptedPrompts prompts;
        qz::UpdateParams(data, prompts);

        const ToolRun run = runTool({"show", "--json", path});
        ASSERT_EQ(run.status, 0) << run.err;
        const auto json = nlohmann::json::parse(run.out);
        for (const auto& variable : qz::parameterCatalog()) {
            const auto& value = json.at(std::string(variable.name()));
            if (variable.kind() == qz::VariableKind::Boolean)
                ASSERT_EQ(value.get<bool>(), variable.get(data) != 0) << variable.name();
            else
                ASSERT_EQ(value.get<long long>(), variable.get(data)) << variable.name();
        }
        for (int c = 1; c <= 21; ++c) {
            ASSERT_EQ(json["Table2D"][c - 1].get<double>(), data.Table2D(c, 1));
            for (int r = 1; r <= 8; ++r)
                ASSERT_EQ(json["Table3D"][r - 1][c - 1].get<double>(), data.Table3D(c, r));
        }
    }
}

}  // namespace
}  // namespace qz1::test
