#include <gtest/gtest.h>

#include <random>

#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

// What decoding and encoding again may change in an image: the clamps of 48, 49, 51 and
// 75, both cylinder bits (read back as six cylinders), both table bits (read back as the
// 3D table), bits 1-7 of 54 and bits 5-7 of 72.
EepromBytes expectedAfterRoundTrip(EepromBytes bytes) {
    bytes[48] = std::min<std::uint8_t>(bytes[48], 40);
    bytes[49] = std::clamp<std::uint8_t>(bytes[49], 2, 12);
    if ((bytes[50] & 3) == 3) bytes[50] &= 0xFE;
    if ((bytes[50] & 0xC0) == 0xC0) bytes[50] &= 0xBF;
    bytes[51] = std::clamp<std::uint8_t>(bytes[51], 30, 109);
    bytes[54] &= 1;
    bytes[72] &= 0x1F;
    bytes[75] = std::clamp<std::uint8_t>(bytes[75], 10, 99);
    return bytes;
}

EepromBytes randomImage(std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    EepromBytes bytes{};
    for (int a = kImageFirstAddress; a <= kImageLastAddress; ++a)
        bytes[a] = static_cast<std::uint8_t>(byte(random));
    bytes[74] &= 0x7F;  // frequencies above 32767 cannot be decoded; tested on their own
    return bytes;
}

TEST(RoundTrip, DecodingThenEncodingChangesOnlyTheDocumentedBytes) {
    std::mt19937 random(20261206);
    for (int i = 0; i < 3000; ++i) {
        ModuleData data;
        data.EEPROMBuffer = randomImage(random);
        const EepromBytes original = data.EEPROMBuffer;
        test::ScriptedPrompts prompts;
        UpdateParams(data, prompts);
        UpdateEEPROM(data, prompts);
        ASSERT_EQ(data.EEPROMBuffer, expectedAfterRoundTrip(original)) << "image " << i;
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
        data.EEPROMBuffer = randomImage(random);
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
