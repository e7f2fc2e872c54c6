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
    const auto path = folder.write("tune.dat", fileBytes(sampleImage()));
    const ToolRun run = runTool({"show", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* line :
         {"\nTrigger timing 30 deg\n", "\nRPM limit 6500 (fixed)\n", "\nCranking pulses 4\n",
          "\n6-cylinder engine yes\n", "\nMAP sensor 2 bar\n", "\nGPIO3 shift drop RPM 0 RPM\n",
          "\nTiming table: 3D, 2 bar MAP sensor (advance in deg)\n"})
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

// No value is made up for it: JSON says null, the words say so.
TEST(Qz1Show, AFrequencyAbove32767IsReportedAndNoValueIsInvented) {
    qz::EepromBytes image = sampleImage();
    image[74] = 0x9C;
    image[75] = 45;
    TempFolder folder;
    const auto path = folder.write("fast.dat", fileBytes(image));
    const ToolRun run = runTool({"show", "--json", path});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, path + ": GPIO2VSSFreq: Overflow\n");
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_TRUE(json["GPIO2VSSFreq"].is_null());
    EXPECT_EQ(json["GPIO2BurnRPMLim"], 4500) << "decoding went on";
    EXPECT_NE(runTool({"show", path}).out.find("frequency cannot be decoded"), std::string::npos);
}

TEST(Qz1Show, BadFilesGetOneLineNamingTheFile) {
    TempFolder folder;
    const auto shortFile = folder.write("short.dat", QByteArray(100, '\1'));
    const auto missing = folder.path("missing.dat");
    const struct {
        std::vector<std::string> arguments;
        std::string expected;
    } cases[] = {
        {{"show", shortFile}, "qz1: " + shortFile + ": premature end of file after 100 bytes\n"},
        {{"show", "--json", missing}, "qz1: " + missing + ": No such file or directory\n"},
        {{"show"}, "qz1: cannot understand the arguments; see qz1 --help\n"},
        {{}, "qz1: no command given; see qz1 --help\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.expected);
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace qz1::test
