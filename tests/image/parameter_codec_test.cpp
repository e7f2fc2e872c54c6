#include "image/parameter_codec.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "image/cell_encoding.h"
#include "image/eeprom_buffer.h"
#include "image/parameter_catalog.h"
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

TEST(UpdateParams, AClearedBufferDecodesToTheFloorsOfTheClamps) {
    ModuleData data;
    ClearEEPROMBuffer(data);
    ScriptedPrompts prompts;
    UpdateParams(data, prompts);

    const std::map<std::string_view, long long> clampedFloors = {
        {"CrankPulses", 2}, {"MaxRPMLimit", 3000}, {"GPIO2BurnRPMLim", 1000}};
    for (const auto& variable : parameterCatalog()) {
        const auto floor = clampedFloors.find(variable.name());
        EXPECT_EQ(variable.get(data), floor == clampedFloors.end() ? 0 : floor->second)
            << variable.name();
    }
    for (int c = 1; c <= 21; ++c) {
        EXPECT_EQ(data.Table2D(c, 1), 0);
        EXPECT_EQ(data.Table2D(c, 2), 0);
    }
    EXPECT_TRUE(data.BufferEmpty);  // decoding does not change it
}

TEST(UpdateParams, ClampsOnDecoding) {
    const struct {
        int address;
        int byte;
        std::int16_t ParameterVariables::*variable;
        int expected;
    } cases[] = {
        {48, 45, &ParameterVariables::TrigTiming, 40},
        {48, 40, &ParameterVariables::TrigTiming, 40},
        {48, 255, &ParameterVariables::TrigTiming, 40},
        {49, 0, &ParameterVariables::CrankPulses, 2},
        {49, 13, &ParameterVariables::CrankPulses, 12},
        {49, 7, &ParameterVariables::CrankPulses, 7},
        {51, 29, &ParameterVariables::MaxRPMLimit, 3000},
        {51, 110, &ParameterVariables::MaxRPMLimit, 10900},
        {51, 65, &ParameterVariables::MaxRPMLimit, 6500},
        {75, 9, &ParameterVariables::GPIO2BurnRPMLim, 1000},
        {75, 100, &ParameterVariables::GPIO2BurnRPMLim, 9900},
        {75, 45, &ParameterVariables::GPIO2BurnRPMLim, 4500},
        {76, 255, &ParameterVariables::GPIO2MinRPM, 12750},
        {90, 10, &ParameterVariables::GPIO3ShiftDropRPM, 500},
        {84, 130, &ParameterVariables::GPIO3ShiftRPM1, 6500},
        {78, 200, &ParameterVariables::GPIO2Delay, 200},
    };
    for (const auto& c : cases) {
        const ModuleData data = decodeBytes({{c.address, c.byte}});
        EXPECT_EQ(data.*c.variable, c.expected) << "address " << c.address << " byte " << c.byte;
    }
}

TEST(UpdateParams, DecodesTheTablesAgainstTheClampedTriggerTiming) {
    const ModuleData data = decodeBytes({{48, 45}, {16, 10}, {36, 255}, {112, 255}, {279, 1}});
    EXPECT_DOUBLE_EQ(data.Table2D(1, 1), 40 - 10 * 0.0879);
    EXPECT_DOUBLE_EQ(data.Table2D(21, 1), 40 - 255 * 0.0879);
    EXPECT_EQ(data.Table2D(5, 2), 40);
    EXPECT_DOUBLE_EQ(data.Table3D(1, 8), 40 - 255 * 0.0879);
    EXPECT_DOUBLE_EQ(data.Table3D(21, 1), 40 - 0.0879);
}

TEST(UpdateParams, OnlyThe2DTableIsFlooredAtZero) {
    const ModuleData data = decodeBytes({{48, 10}, {16, 255}, {112, 255}});
    EXPECT_EQ(data.Table2D(1, 1), 0);
    EXPECT_DOUBLE_EQ(data.Table3D(1, 8), -12.4145);
}

TEST(UpdateParams, DecodesTheFlagBytes) {
    const struct {
        int flags;
        bool cyl4, cyl6, rpmLimit, multiSpark, timing, fixedMax, table2D, table3D;
    } cases[] = {
        {0x00, false, false, false, false, false, false, false, false},
        {0x1C, false, false, true, true, true, false, false, false},
        {0xC0, false, false, false, false, false, false, false, true},  // 3D wins
        {0x40, false, false, false, false, false, false, true, false},
        {0x03, true, true, false, false, false, false, false, false},
        {0x21, true, false, false, false, false, true, false, false},
        {0xFF, true, true, true, true, true, true, false, true},
    };
    for (const auto& c : cases) {
        const ModuleData d = decodeBytes({{50, c.flags}});
        EXPECT_EQ(d.ModuleFlags, c.flags);
        const bool got[] = {d.Cyl4Engine,        d.Cyl6Engine,    d.RPMLimitEnabled,
                            d.MultiSparkEnabled, d.TimingEnabled, d.FixedMaxRPMLimitEnabled,
                            d.Table2DEnabled,    d.Table3DEnabled};
        const bool want[] = {c.cyl4,   c.cyl6,     c.rpmLimit, c.multiSpark,
                             c.timing, c.fixedMax, c.table2D,  c.table3D};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(got[i], want[i]) << "flags " << c.flags << " item " << i;
    }
    const ModuleData logging = decodeBytes({{54, 0xFF}, {72, 0xF4}});
    EXPECT_EQ(logging.DataLogFlags, 0xFF);
    EXPECT_TRUE(logging.HighSpeedDataLog);
    EXPECT_EQ(logging.GPIO2Mode, 0xF4);
    EXPECT_TRUE(logging.GPIO2OneShotDelay);
}

// A distinct byte at every parameter address: each decodes into its own variable, and that
// variable's value encodes into that byte. A table both directions share (the GPIO3 RPM
// bytes) could swap two variables and still round-trip.
TEST(ParameterCodec, EachVariableHasItsOwnAddress) {
    const struct {
        int address;
        int byte;
        const char* variable;
        int value;
    } cases[] = {
        {48, 31, "TrigTiming", 31},
        {49, 9, "CrankPulses", 9},
        {51, 65, "MaxRPMLimit", 6500},
        {52, 17, "RetardComp", 17},
        {53, 57, "StartRetard", 57},
        {55, 2, "MAPSensorBar", 2},
        {64, 4, "GPI1Mode", 4},
        {65, 204, "GPI1OffTPS", 204},
        {66, 214, "GPI1OnTPS", 214},
        {67, 114, "GPI1Retard", 114},
        {72, 3, "GPIO2Mode", 3},
        {73, 0x21, "GPIO2VSSFreq", 0x521},
        {74, 0x05, "GPIO2VSSFreq", 0x521},
        {75, 45, "GPIO2BurnRPMLim", 4500},
        {76, 61, "GPIO2MinRPM", 3050},
        {77, 121, "GPIO2MaxRPM", 6050},
        {78, 78, "GPIO2Delay", 78},
        {80, 1, "GPIO3Mode", 1},
        {81, 62, "GPIO3MinRPM", 3100},
        {82, 122, "GPIO3MaxRPM", 6100},
        {83, 63, "GPIO3LaunchRPM", 3150},
        {84, 101, "GPIO3ShiftRPM1", 5050},
        {85, 102, "GPIO3ShiftRPM2", 5100},
        {86, 103, "GPIO3ShiftRPM3", 5150},
        {87, 104, "GPIO3ShiftRPM4", 5200},
        {88, 105, "GPIO3ShiftRPM5", 5250},
        {89, 11, "GPIO3ShortShiftRPM", 550},
        {90, 12, "GPIO3ShiftDropRPM", 600},
    };
    ModuleData decoded;
    ModuleData encoded;
    for (const auto& c : cases) {
        decoded.EEPROMBuffer[c.address] = static_cast<std::uint8_t>(c.byte);
        findParameter(c.variable)->set(encoded, c.value);
    }
    ScriptedPrompts prompts;
    UpdateParams(decoded, prompts);
    const EepromBytes bytes = encode(encoded);
    for (const auto& c : cases) {
        EXPECT_EQ(findParameter(c.variable)->get(decoded), c.value) << c.variable;
        EXPECT_EQ(bytes[c.address], c.byte) << c.variable;
    }
}

TEST(UpdateParams, ReadsTheVehicleSpeedFrequencyLittleEndian) {
    EXPECT_EQ(decodeBytes({{73, 0x2C}, {74, 0x01}}).GPIO2VSSFreq, 300);
    EXPECT_EQ(decodeBytes({{73, 0xFF}, {74, 0x7F}}).GPIO2VSSFreq, 32767);
}

// A stored frequency of 32768 or more does not fit the Integer variable.
TEST(UpdateParams, AFrequencyAbove32767FailsWithOverflowThroughTheTrap) {
    const struct {
        std::vector<PromptAnswer> answers;
        std::int16_t vssAfter;
        int burnoutAfter;  // decoded by the step after the failing one
        bool aborted;
    } cases[] = {
        {{PromptAnswer::Ignore}, 150, 4500, false},
        {{PromptAnswer::Retry, PromptAnswer::Ignore}, 150, 4500, false},
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

TEST(UpdateEEPROM, RoundsScaledValuesHalfToEvenAndClamps) {
    const struct {
        std::int16_t ParameterVariables::*variable;
        int value;
        int address;
        int byte;
    } cases[] = {
        {&ParameterVariables::MaxRPMLimit, 3050, 51, 30},
        {&ParameterVariables::MaxRPMLimit, 3150, 51, 32},
        {&ParameterVariables::MaxRPMLimit, 2000, 51, 30},
        {&ParameterVariables::MaxRPMLimit, 20000, 51, 109},
        {&ParameterVariables::GPIO2BurnRPMLim, 500, 75, 10},
        {&ParameterVariables::GPIO2BurnRPMLim, 1050, 75, 10},
        {&ParameterVariables::GPIO2BurnRPMLim, 1150, 75, 12},
        {&ParameterVariables::GPIO2BurnRPMLim, 12000, 75, 99},
        {&ParameterVariables::TrigTiming, -5, 48, 0},
        {&ParameterVariables::TrigTiming, 41, 48, 40},
        {&ParameterVariables::CrankPulses, 1, 49, 2},
        {&ParameterVariables::CrankPulses, 13, 49, 12},
        {&ParameterVariables::GPIO2MinRPM, 3025, 76, 60},
        {&ParameterVariables::GPIO2MaxRPM, 3075, 77, 62},
        {&ParameterVariables::GPIO3ShiftRPM1, 12774, 84, 255},
        {&ParameterVariables::GPIO3ShiftDropRPM, 525, 90, 10},
        {&ParameterVariables::RetardComp, 57, 52, 57},
        {&ParameterVariables::GPIO2VSSFreq, 3000, 73, 184},  // little-endian
        {&ParameterVariables::GPIO2VSSFreq, 3000, 74, 11},
    };
    for (const auto& c : cases) {
        ModuleData data;
        data.*c.variable = static_cast<std::int16_t>(c.value);
        EXPECT_EQ(encode(data)[c.address], c.byte) << "value " << c.value;
        EXPECT_EQ(data.*c.variable, c.value) << "the clamp works on a copy";
    }
}

TEST(UpdateEEPROM, BuildsTheFlagBytes) {
    const struct {
        bool cyl4, cyl6, table2D, table3D, highSpeed;
        int flags;
        int logging;
    } cases[] = {
        {false, false, false, false, false, 0x1C, 0},  // the defaults give 28
        {true, false, false, false, true, 0x1D, 1},   {false, true, false, false, false, 0x1E, 0},
        {true, true, false, false, false, 0x1E, 0},  // six cylinders win
        {false, false, true, true, false, 0xDC, 0},   {false, false, false, true, false, 0x9C, 0},
    };
    for (const auto& c : cases) {
        ModuleData data;
        data.Cyl4Engine = c.cyl4;
        data.Cyl6Engine = c.cyl6;
        data.Table2DEnabled = c.table2D;
        data.Table3DEnabled = c.table3D;
        data.HighSpeedDataLog = c.highSpeed;
        data.DataLogFlags = 0xFE;
        const EepromBytes bytes = encode(data);
        EXPECT_EQ(bytes[50], c.flags);
        EXPECT_EQ(data.ModuleFlags, c.flags);
        EXPECT_EQ(bytes[54], c.logging);
        EXPECT_EQ(data.DataLogFlags, c.logging);
    }
}

TEST(UpdateEEPROM, KeepsTheLowFourBitsOfTheGpio2ModeAndSetsBit4FromTheOneShotDelay) {
    const struct {
        int mode;
        bool oneShot;
        int byte;
    } cases[] = {{0x23, false, 0x03}, {0x05, true, 0x15}, {0xFF, false, 0x0F}, {0x14, false, 0x04}};
    for (const auto& c : cases) {
        ModuleData data;
        data.GPIO2Mode = static_cast<std::uint8_t>(c.mode);
        data.GPIO2OneShotDelay = c.oneShot;
        EXPECT_EQ(encode(data)[72], c.byte);
        EXPECT_EQ(data.GPIO2Mode, c.byte);
    }
}

TEST(UpdateEEPROM, WritesOnlyTheParameterAddresses) {
    ModuleData data;
    for (int a = 0; a < kEepromSize; ++a)
        data.EEPROMBuffer[a] = static_cast<std::uint8_t>(a * 7 + 3);
    const EepromBytes before = data.EEPROMBuffer;
    const EepromBytes after = encode(data);
    auto written = [](int a) {
        return (a >= 48 && a <= 55) || (a >= 64 && a <= 67) || (a >= 72 && a <= 78) ||
               (a >= 80 && a <= 90);
    };
    for (int a = 0; a < kEepromSize; ++a)
        if (!written(a)) {
            EXPECT_EQ(after[a], before[a]) << "address " << a;
        }
}

TEST(UpdateEEPROM, AByteOutOfRangeFailsWithOverflowNamedAfterItsVariable) {
    const struct {
        std::int16_t ParameterVariables::*variable;
        int value;
        const char* name;
        int address;
    } cases[] = {
        {&ParameterVariables::GPIO3ShiftRPM1, 12775, "GPIO3ShiftRPM1", 84},
        {&ParameterVariables::RetardComp, -1, "RetardComp", 52},
        {&ParameterVariables::StartRetard, 256, "StartRetard", 53},
        {&ParameterVariables::GPI1OnTPS, 300, "GPI1OnTPS", 66},
        {&ParameterVariables::GPIO2Delay, -3, "GPIO2Delay", 78},
        {&ParameterVariables::GPIO2VSSFreq, -1, "GPIO2VSSFreq", 74},
        {&ParameterVariables::GPIO2MinRPM, -26, "GPIO2MinRPM", 76},
    };
    for (const auto& c : cases) {
        ModuleData data;
        data.EEPROMBuffer.fill(0x5A);
        data.*c.variable = static_cast<std::int16_t>(c.value);
        ScriptedPrompts prompts;
        prompts.answer(PromptAnswer::Ignore);
        const CodecOutcome outcome = UpdateEEPROM(data, prompts);
        ASSERT_EQ(outcome.failures.size(), 1u) << c.name;
        EXPECT_EQ(outcome.failures[0].step, c.name);
        EXPECT_EQ(outcome.failures[0].description, "Overflow");
        EXPECT_EQ(data.EEPROMBuffer[c.address], 0x5A) << "Ignore leaves the byte as it was";
        EXPECT_EQ(data.EEPROMBuffer[90], 10) << "Ignore goes on to the last step";
    }
}

TEST(UpdateEEPROM, AbortLeavesTheRestOfTheImageUnwritten) {
    ModuleData data;
    data.EEPROMBuffer.fill(0x5A);
    data.RetardComp = 300;
    ScriptedPrompts prompts;
    prompts.answer(PromptAnswer::Abort);
    EXPECT_TRUE(UpdateEEPROM(data, prompts).aborted);
    EXPECT_EQ(data.EEPROMBuffer[51], 30) << "written before the failure";
    EXPECT_EQ(data.EEPROMBuffer[53], 0x5A) << "not written after it";
    EXPECT_EQ(data.EEPROMBuffer[90], 0x5A);
}

}  // namespace
}  // namespace qz
