#include <gtest/gtest.h>

#include <random>

#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "support/round_trip.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

TEST(RoundTrip, DecodingThenEncodingChangesOnlyTheDocumentedBytes) {
    std::mt19937 random(20261206);
    for (int i = 0; i < 3000; ++i) {
        ModuleData data;
        data.EEPROMBuffer = test::randomDecodableImage(random);
        const EepromBytes original = data.EEPROMBuffer;
        test::ScriptedPrompts prompts;
        UpdateParams(data, prompts);
        UpdateEEPROM(data, prompts);
        ASSERT_EQ(data.EEPROMBuffer, test::expectedAfterRoundTrip(original)) << "image " << i;
        ASSERT_TRUE(prompts.shown().empty());

        // Encoding then decoding restores every variable, except that six cylinders win
        // over four.
        ModuleData again = data;
        UpdateParams(again, prompts);
        ParameterVariables expected = data;
        if (expected.Cyl6Engine) expected.Cyl4Engine = false;
        ASSERT_EQ(static_cast<const ParameterVariables&>(again), expected) << "image " << i;
    }
}

TEST(RoundTrip, SavingDecodedTablesRewritesTheSameBytesButTheFloored2DCells) {
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        ModuleData data;
        data.EEPROMBuffer = test::randomDecodableImage(random);
        test::ScriptedPrompts prompts;
        UpdateParams(data, prompts);
        EepromBytes expected = data.EEPROMBuffer;
        for (int c = 1; c <= kRpmBreakpoints; ++c) {
            // A cell whose advance fell below 0 was raised to 0, which is byte T/0.0879.
            if (data.TrigTiming - 0.0879 * expected[table2DAddress(c)] < 0)
                expected[table2DAddress(c)] =
                    static_cast<std::uint8_t>(std::lround(data.TrigTiming / 0.0879));
        }
        encodeTable2D(data);
        encodeTable3D(data);
        ASSERT_EQ(data.EEPROMBuffer, expected) << "image " << i;
    }
}

}  // namespace
}  // namespace qz
