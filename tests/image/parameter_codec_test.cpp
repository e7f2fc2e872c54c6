#include "image/parameter_codec.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "image/cell_encoding.h"
#include "image/eeprom_buffer.h"
#include "image/parameter_catalog.h"
#include "support/round_trip.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

ModuleData decodeBytes(std::initializer_list<std::pair<int, int>> bytes) {
    ModuleData data;
    for (auto [address, value] : bytes)
        data.EEPROMBuffer[address] = static_cast<std::uint8_t>(value);
    ScriptedPrompts prompts;
    UpdateParams(data, prompts);
    EXPECT_TRUE(prompts.shown().empty());
    return data;
}

EepromBytes encode(ModuleData& data) {
    ScriptedPrompts prompts;
    UpdateEEPROM(data, prompts);
    EXPECT_TRUE(prompts.shown().empty());
    return data.EEPROMBuffer;
}

// Clearing zeroes the image and marks it empty; decoding then leaves it so.
TEST(UpdateParams, AClearedBufferDecodesToZeroesAndTheFloorsOfTheClamps) {
    ModuleData data;
    data.EEPROMBuffer.fill(0x77);
    data.BufferEmpty = false;
    ClearEEPROMBuffer(data);
    EXPECT_EQ(data.EEPROMBuffer, EepromBytes{});
    ScriptedPrompts prompts;
    UpdateParams(data, prompts);
    const std::map<std::string_view, long long> floors = {
        {"CrankPulses", 2}, {"MaxRPMLimit", 3000}, {"GPIO2BurnRPMLim", 1000}};
    for (const auto& variable : parameterCatalog())
        EXPECT_EQ(variable.get(data),
                  floors.contains(variable.name()) ? floors.at(variable.name()) : 0)
            << variable.name();
    EXPECT_EQ(data.Table2D(21, 1), 0);
    EXPECT_TRUE(data.BufferEmpty);
}

// Each row alone in an image of zeros: the byte at its address decodes into its own
// variable, and that variable alone encodes into that byte, so no two variables can swap
// addresses even where both directions share a table (the GPIO3 RPM bytes). Some rows hold
// in one direction only: a clamp on decoding, a rounding or clamp on encoding, which works
// on a copy and leaves the variable as it was.
TEST(ParameterCodec, EachVariableHasItsOwnAddressScaleAndClamps) {
    enum Direction { Both, Decode, Encode };
    // clang-format off
    const struct {
        int address;
        int byte;
        const char* variable;
        int value;
        Direction direction;
    } cases[] = {
        {48, 31, "TrigTiming", 31, Both}, {49, 9, "CrankPulses", 9, Both},
        {51, 65, "MaxRPMLimit", 6500, Both}, {52, 17, "RetardComp", 17, Both},
        {53, 57, "StartRetard", 57, Both}, {55, 2, "MAPSensorBar", 2, Both},
        {64, 4, "GPI1Mode", 4, Both}, {65, 204, "GPI1OffTPS", 204, Both},
        {66, 214, "GPI1OnTPS", 214, Both}, {67, 114, "GPI1Retard", 114, Both},
        {72, 3, "GPIO2Mode", 3, Both}, {73, 0x21, "GPIO2VSSFreq", 0x21, Both},  // little-endian
        {74, 0x05, "GPIO2VSSFreq", 0x500, Both}, {75, 45, "GPIO2BurnRPMLim", 4500, Both},
        {76, 61, "GPIO2MinRPM", 3050, Both}, {77, 121, "GPIO2MaxRPM", 6050, Both},
        {78, 78, "GPIO2Delay", 78, Both}, {80, 1, "GPIO3Mode", 1, Both},
        {81, 62, "GPIO3MinRPM", 3100, Both}, {82, 122, "GPIO3MaxRPM", 6100, Both},
        {83, 63, "GPIO3LaunchRPM", 3150, Both}, {84, 101, "GPIO3ShiftRPM1", 5050, Both},
        {85, 102, "GPIO3ShiftRPM2", 5100, Both}, {86, 103, "GPIO3ShiftRPM3", 5150, Both},
        {87, 104, "GPIO3ShiftRPM4", 5200, Both}, {88, 105, "GPIO3ShiftRPM5", 5250, Both},
        {89, 11, "GPIO3ShortShiftRPM", 550, Both}, {90, 12, "GPIO3ShiftDropRPM", 600, Both},
        {48, 45, "TrigTiming", 40, Decode}, {48, 40, "TrigTiming", 40, Both},
        {48, 255, "TrigTiming", 40, Decode}, {49, 0, "CrankPulses", 2, Decode},
        {49, 13, "CrankPulses", 12, Decode}, {51, 29, "MaxRPMLimit", 3000, Decode},
        {51, 110, "MaxRPMLimit", 10900, Decode}, {75, 9, "GPIO2BurnRPMLim", 1000, Decode},
        {75, 100, "GPIO2BurnRPMLim", 9900, Decode}, {76, 255, "GPIO2MinRPM", 12750, Decode},
        {90, 10, "GPIO3ShiftDropRPM", 500, Both}, {84, 130, "GPIO3ShiftRPM1", 6500, Both},
        {78, 200, "GPIO2Delay", 200, Both},
        {51, 30, "MaxRPMLimit", 3050, Encode},  // halves to the even count
        {51, 32, "MaxRPMLimit", 3150, Encode}, {51, 30, "MaxRPMLimit", 2000, Encode},
        {51, 109, "MaxRPMLimit", 20000, Encode}, {75, 10, "GPIO2BurnRPMLim", 500, Encode},
        {75, 10, "GPIO2BurnRPMLim", 1050, Encode}, {75, 12, "GPIO2BurnRPMLim", 1150, Encode},
        {75, 99, "GPIO2BurnRPMLim", 12000, Encode}, {48, 0, "TrigTiming", -5, Encode},
        {48, 40, "TrigTiming", 41, Encode}, {49, 2, "CrankPulses", 1, Encode},
        {49, 12, "CrankPulses", 13, Encode}, {76, 60, "GPIO2MinRPM", 3025, Encode},
        {77, 62, "GPIO2MaxRPM", 3075, Encode}, {84, 255, "GPIO3ShiftRPM1", 12774, Encode},
        {90, 10, "GPIO3ShiftDropRPM", 525, Encode}, {73, 184, "GPIO2VSSFreq", 3000, Encode},
        {74, 11, "GPIO2VSSFreq", 3000, Encode},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ParameterVariable& variable = *findParameter(c.variable);
        if (c.direction != Encode) {
            const ModuleData decoded = decodeBytes({{c.address, c.byte}});
            EXPECT_EQ(variable.get(decoded), c.value) << c.variable << " from byte " << c.byte;
        }
        if (c.direction != Decode) {
            ModuleData data;
            variable.set(data, c.value);
            EXPECT_EQ(encode(data)[c.address], c.byte) << c.variable << " = " << c.value;
            EXPECT_EQ(variable.get(data), c.value) << c.variable;
        }
    }
}

TEST(UpdateParams, DecodesTheTablesAgainstTheClampedTriggerTimingFlooringOnlyThe2DTable) {
    const ModuleData data = decodeBytes({{48, 45}, {16, 10}, {36, 255}, {112, 255}, {279, 1}});
    EXPECT_DOUBLE_EQ(data.Table2D(1, 1), 40 - 10 * 0.0879);
    EXPECT_DOUBLE_EQ(data.Table2D(21, 1), 40 - 255 * 0.0879);
    EXPECT_EQ(data.Table2D(5, 2), 40);
    EXPECT_DOUBLE_EQ(data.Table3D(1, 8), 40 - 255 * 0.0879);
    EXPECT_DOUBLE_EQ(data.Table3D(21, 1), 40 - 0.0879);
    const ModuleData low = decodeBytes({{48, 10}, {16, 255}, {112, 255}});
    EXPECT_EQ(low.Table2D(1, 1), 0);
    EXPECT_DOUBLE_EQ(low.Table3D(1, 8), -12.4145);
}

// Flags in the order Cyl4Engine, Cyl6Engine, RPMLimitEnabled, MultiSparkEnabled,
// TimingEnabled, FixedMaxRPMLimitEnabled, Table2DEnabled, Table3DEnabled; 3D wins over 2D.
TEST(UpdateParams, DecodesTheFlagBytes) {
    const std::pair<int, const char*> cases[] = {
        {0x00, "00000000"}, {0x1C, "00111000"}, {0xC0, "00000001"}, {0x40, "00000010"},
        {0x03, "11000000"}, {0x21, "10000100"}, {0xFF, "11111101"},
    };
    for (const auto& [flags, expected] : cases) {
        const ModuleData d = decodeBytes({{50, flags}});
        EXPECT_EQ(d.ModuleFlags, flags);
        std::string got;
        for (bool flag :
             {d.Cyl4Engine, d.Cyl6Engine, d.RPMLimitEnabled, d.MultiSparkEnabled, d.TimingEnabled,
              d.FixedMaxRPMLimitEnabled, d.Table2DEnabled, d.Table3DEnabled})
            got += flag ? '1' : '0';
        EXPECT_EQ(got, expected) << "flags " << flags;
    }
    const ModuleData logging = decodeBytes({{54, 0xFF}, {72, 0xF4}});
    EXPECT_EQ(logging.DataLogFlags, 0xFF);
    EXPECT_TRUE(logging.HighSpeedDataLog);
    EXPECT_EQ(logging.GPIO2Mode, 0xF4);
    EXPECT_TRUE(logging.GPIO2OneShotDelay);
}

TEST(UpdateParams, AFrequencyAbove32767FailsWithOverflowThroughTheTrap) {
    const struct {
        std::vector<PromptAnswer> answers;
        std::int16_t vssAfter;
        int burnoutAfter;  // decoded by the step after the failing one
        bool aborted;
    } cases[] = {
        {{PromptAnswer::Ignore}, 150, 4500, false},
        {{PromptAnswer::Abort}, 150, 3000, true},
    };
    for (const auto& c : cases) {
        ModuleData data;
        data.EEPROMBuffer[74] = 0x80;
        data.EEPROMBuffer[75] = 45;
        data.EEPROMBuffer[48] = 12;
        ScriptedPrompts prompts;
        for (auto answer : c.answers) prompts.answer(answer);
        const CodecOutcome outcome = UpdateParams(data, prompts);

        ASSERT_EQ(prompts.shown().size(), c.answers.size());
        EXPECT_EQ(prompts.shown()[0].text, "Overflow");
        EXPECT_EQ(prompts.shown()[0].title, "Error");
        EXPECT_EQ(data.GPIO2VSSFreq, c.vssAfter);
        EXPECT_EQ(data.GPIO2BurnRPMLim, c.burnoutAfter);
        EXPECT_EQ(data.TrigTiming, 12);  // decoded before the failure either way
        EXPECT_EQ(outcome.aborted, c.aborted);
        EXPECT_EQ(outcome.failures.back().step, "GPIO2VSSFreq");
    }
}

// What decoding and encoding again cannot show: the defaults give 28, both table flags set
// both bits, and bit 4 of the GPIO2 byte comes from the one-shot flag, not the mode.
TEST(UpdateEEPROM, BuildsTheFlagBytes) {
    ModuleData data;
    data.DataLogFlags = 0xFE;
    EXPECT_EQ(encode(data)[50], 0x1C);
    EXPECT_EQ(data.DataLogFlags, 0);
    data.Table2DEnabled = data.Table3DEnabled = true;
    data.GPIO2Mode = 0x14;
    EXPECT_EQ(encode(data)[50], 0xDC);
    EXPECT_EQ(data.EEPROMBuffer[72], 0x04);
    data.GPIO2Mode = 0x25;
    data.GPIO2OneShotDelay = true;
    EXPECT_EQ(encode(data)[72], 0x15);
    EXPECT_EQ(data.GPIO2Mode, 0x15);
}

// Ignore leaves the byte as it was and goes on to the last step; Abort leaves every later
// byte unwritten.
TEST(UpdateEEPROM, AByteOutOfRangeFailsWithOverflowNamedAfterItsVariable) {
    const struct {
        const char* name;
        int value;
        int address;
    } cases[] = {{"GPIO3ShiftRPM1", 12775, 84}, {"RetardComp", -1, 52}, {"StartRetard", 256, 53},
                 {"GPI1OnTPS", 300, 66},        {"GPIO2Delay", -3, 78}, {"GPIO2VSSFreq", -1, 74},
                 {"GPIO2MinRPM", -26, 76}};
    for (const auto& c : cases)
        for (const PromptAnswer answer : {PromptAnswer::Ignore, PromptAnswer::Abort}) {
            ModuleData data;
            data.EEPROMBuffer.fill(0x5A);
            findParameter(c.name)->set(data, c.value);
            ScriptedPrompts prompts;
            prompts.answer(answer);
            const CodecOutcome outcome = UpdateEEPROM(data, prompts);
            ASSERT_EQ(outcome.failures.size(), 1u) << c.name;
            EXPECT_EQ(outcome.failures[0].step, c.name);
            EXPECT_EQ(outcome.failures[0].description, "Overflow");
            EXPECT_EQ(outcome.aborted, answer == PromptAnswer::Abort);
            EXPECT_EQ(data.EEPROMBuffer[c.address], 0x5A) << c.name;
            EXPECT_EQ(data.EEPROMBuffer[51], 30) << "written before the failure";
            EXPECT_EQ(data.EEPROMBuffer[90], answer == PromptAnswer::Ignore ? 10 : 0x5A) << c.name;
        }
}

TEST(RoundTrip, DecodingThenEncodingChangesOnlyTheDocumentedBytes) {
    std::mt19937 random(20261206);
    for (int i = 0; i < 3000; ++i) {
        ModuleData data;
        data.EEPROMBuffer = test::randomDecodableImage(random);
        const EepromBytes original = data.EEPROMBuffer;
        ScriptedPrompts prompts;
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

}  // namespace
}  // namespace qz
