#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "image/cell_encoding.h"
#include "image/eeprom_buffer.h"
#include "image/module_names.h"
#include "image/parameter_catalog.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "image/tune_difference.h"
#include "support/round_trip.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

using test::ScriptedPrompts;
using Changes = std::vector<std::pair<int, std::uint8_t>>;

// The byte, and which of its limits (if any) held the advance; a quotient (T - advance) / 0.0879
// exactly halfway gives the even byte.
TEST(CellEncoding, EncodesTheRetardFromTheTriggerTimingLimitedToAByte) {
    constexpr auto None = CellLimit::None;
    // clang-format off
    const struct {
        int trigTiming;
        double advance;
        int byte;
        CellLimit limit;
    } cases[] = {
        {30, 8, 250, None}, {10, 10 - 0.0879 * 255, 255, None},  // T - 22; all 255 steps
        {30, 7.5, 255, CellLimit::BelowLowest},  // 256 steps are limited to 255
        {30, 30.05, 0, CellLimit::AboveTrigger}, {30, 30.04, 0, None},  // -0.57 and -0.46 steps
        {30, 30 - 0.04, 0, None}, {30, 30 - 0.05, 1, None},  // nearest step
        {0, -2.5 * kRetardStep, 2, None}, {0, -3.5 * kRetardStep, 4, None},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(
            std::pair(encodeCell(c.trigTiming, c.advance), cellLimit(c.trigTiming, c.advance)),
            std::pair(std::uint8_t(c.byte), c.limit))
            << c.trigTiming << " " << c.advance;
    }
}

TEST(CellEncoding, EveryByteSurvivesDecodeThenEncodeAtEveryTriggerTiming) {
    for (int t = 0; t <= 40; ++t)
        for (int b = 0; b <= 255; ++b)
            ASSERT_EQ(encodeCell(t, decodeCell(t, static_cast<std::uint8_t>(b))), b)
                << t << " " << b;
}

// Every offset of the block names the cell stored there, each cell at its own address.
TEST(TableLayout, The3DBlockStoresTheLowestPressureRowFirst) {
    const struct {
        int column;
        int row;
        int address;
    } cases[] = {{1, 8, 112}, {21, 8, 132}, {1, 7, 133}, {1, 1, 259}, {21, 1, 279}, {11, 4, 206}};
    for (const auto& c : cases) EXPECT_EQ(table3DAddress(c.column, c.row), c.address);
    for (int k = 0; k < kTable3DCells; ++k)
        EXPECT_EQ(table3DAddress(table3DCellAt(k).column, table3DCellAt(k).row), 112 + k);
}

TEST(TableLayout, TheSensorsNameAndPressureLabelsFollowItsCode) {
    // clang-format off
    const struct {
        std::uint8_t sensor;
        const char* name;
        std::vector<int> labelsFromRow8;
    } cases[] = {
        {0, "1 bar", {16, 18, 20, 22, 24, 26, 28, 30}},
        {1, "2 bar", {18, 24, 30, 36, 42, 48, 54, 60}},
        {2, "3 bar", {20, 30, 40, 50, 60, 70, 80, 90}},
        {3, "1 bar", {16, 18, 20, 22, 24, 26, 28, 30}},  // and every other code
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<int> labels;
        for (int r = 8; r >= 1; --r) labels.push_back(pressureLabel(c.sensor, r));
        EXPECT_EQ(std::pair(labels, mapSensorName(c.sensor)),
                  std::pair(c.labelsFromRow8, std::string(c.name)))
            << int(c.sensor);
    }
}

TEST(TableLayout, SavingTablesWritesOnlyTheirBytesAgainstTheCurrentTriggerTiming) {
    ModuleData data;
    data.EEPROMBuffer.fill(0xAA);
    data.TrigTiming = 30;
    EepromBytes expected = data.EEPROMBuffer;  // each cell so many steps below 30 degrees
    for (int c = 1; c <= 21; ++c) {
        data.Table2D(c, 1) = 30 - (expected[15 + c] = c) * kRetardStep;
        for (int r = 1; r <= 8; ++r)
            data.Table3D(c, r) = 30 - (expected[table3DAddress(c, r)] = r * 21 + c) * kRetardStep;
    }
    data.Table2D(21, 1) = 31;   // above the trigger timing
    data.Table3D(21, 1) = -30;  // further below it than a byte reaches
    data.Table3D(20, 1) = 7;
    expected[36] = 0;
    expected[table3DAddress(21, 1)] = expected[table3DAddress(20, 1)] = 255;
    const EncodingLimits limits2D = encodeTable2D(data);
    const EncodingLimits limits3D = encodeTable3D(data);
    EXPECT_EQ(std::tuple(limits2D.aboveTrigger, limits2D.belowLowest, limits3D.aboveTrigger,
                         limits3D.belowLowest),
              std::tuple(1, 0, 0, 2));
    EXPECT_EQ(data.EEPROMBuffer, expected);
}

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
// addresses even where both directions share a table (the GPIO3 RPM bytes). Encode rows are
// a rounding or clamp on encoding, which works on a copy and leaves the variable as it was;
// the clamps on decoding are the round trip's.
TEST(ParameterCodec, EachVariableHasItsOwnAddressScaleAndClamps) {
    enum Direction { Both, Encode };
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
        {48, 40, "TrigTiming", 40, Both},
        {51, 30, "MaxRPMLimit", 3050, Encode},  // halves to the even count
        {51, 32, "MaxRPMLimit", 3150, Encode}, {51, 30, "MaxRPMLimit", 2000, Encode},
        {51, 109, "MaxRPMLimit", 20000, Encode}, {75, 10, "GPIO2BurnRPMLim", 500, Encode},
        {75, 99, "GPIO2BurnRPMLim", 12000, Encode}, {48, 0, "TrigTiming", -5, Encode},
        {48, 40, "TrigTiming", 41, Encode}, {49, 2, "CrankPulses", 1, Encode},
        {49, 12, "CrankPulses", 13, Encode}, {77, 62, "GPIO2MaxRPM", 3075, Encode},
        {84, 255, "GPIO3ShiftRPM1", 12774, Encode}, {90, 10, "GPIO3ShiftDropRPM", 525, Encode},
        {73, 184, "GPIO2VSSFreq", 3000, Encode}, {74, 11, "GPIO2VSSFreq", 3000, Encode},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ParameterVariable& variable = *findParameter(c.variable);
        if (c.direction == Both)
            EXPECT_EQ(variable.get(decodeBytes({{c.address, c.byte}})), c.value) << c.variable;
        ModuleData data;
        variable.set(data, c.value);
        EXPECT_EQ(encode(data)[c.address], c.byte) << c.variable << " = " << c.value;
        EXPECT_EQ(variable.get(data), c.value) << c.variable;
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
    EXPECT_EQ(std::tuple(logging.DataLogFlags, logging.HighSpeedDataLog, logging.GPIO2Mode,
                         logging.GPIO2OneShotDelay),
              std::tuple(0xFF, true, 0xF4, true));
}

// Ignore goes on to the steps after it, Abort leaves them undone.
TEST(UpdateParams, AFrequencyAbove32767FailsWithOverflowThroughTheTrap) {
    for (const PromptAnswer answer : {PromptAnswer::Ignore, PromptAnswer::Abort}) {
        ModuleData data;
        data.EEPROMBuffer[74] = 0x80;
        data.EEPROMBuffer[75] = 45;
        data.EEPROMBuffer[48] = 12;
        ScriptedPrompts prompts;
        prompts.answer(answer);
        const CodecOutcome outcome = UpdateParams(data, prompts);
        ASSERT_EQ(prompts.shown().size(), 1u);
        EXPECT_EQ(std::pair(prompts.shown()[0].text, prompts.shown()[0].title),
                  std::pair(std::string("Overflow"), std::string("Error")));
        // The trigger timing is decoded before the failure either way.
        EXPECT_EQ(std::tuple(data.GPIO2VSSFreq, data.GPIO2BurnRPMLim, data.TrigTiming,
                             outcome.aborted, outcome.failures.back().step),
                  std::tuple(150, answer == PromptAnswer::Ignore ? 4500 : 3000, 12,
                             answer == PromptAnswer::Abort, "GPIO2VSSFreq"));
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
            EXPECT_EQ(std::tuple(outcome.failures[0].step, outcome.failures[0].description,
                                 outcome.aborted),
                      std::tuple(c.name, "Overflow", answer == PromptAnswer::Abort));
            // Byte 51 is written before the failure.
            const auto& b = data.EEPROMBuffer;
            EXPECT_EQ(std::tuple(b[c.address], b[51], b[90]),
                      std::tuple(0x5A, 30, answer == PromptAnswer::Ignore ? 10 : 0x5A))
                << c.name;
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

// A 3D tune at trigger timing 30 with a 1 bar sensor, every cell 2 degrees below it.
EepromBytes baseImage() {
    EepromBytes image{};
    image[48] = 30;
    image[49] = 4;
    image[50] = 0x80 | 0x10 | 0x04;
    image[51] = 65;
    for (int address = 112; address <= kImageLastAddress; ++address) image[address] = 23;
    for (int address = 16; address <= 36; ++address) image[address] = 23;
    return image;
}

TuneDifference differenceAfter(const Changes& changes, const EepromBytes& base = baseImage()) {
    EepromBytes other = base;
    for (const auto& [address, value] : changes) other[address] = value;
    return compareTunes(decodedImage(base), decodedImage(other));
}

// Each parameter is named once, by the variable a tuner sets, in the report's order; a
// flag byte only for bits no flag of its own says. The 3D flag wins over the 2D flag: the 2D
// bit alone changes nothing a tuner sees.
TEST(TuneDifference, NamesEachDifferingParameterOnceInTheReportsOrder) {
    // clang-format off
    const struct {
        Changes changes;
        std::vector<std::string_view> parameters;
    } cases[] = {
        {{{48, 28}}, {"TrigTiming"}},
        {{{48, 28}, {50, 0x80 | 0x10}}, {"RPMLimitEnabled", "TrigTiming"}},
        {{{50, 0x80 | 0x10 | 0x04 | 0x20}}, {"FixedMaxRPMLimitEnabled"}},
        {{{50, 0x80 | 0x40 | 0x10 | 0x04}}, {"ModuleFlags"}}, {{{54, 1}}, {"HighSpeedDataLog"}},
        {{{54, 2}}, {"DataLogFlags"}}, {{{72, 0x10}}, {"GPIO2OneShotDelay"}},
        {{{72, 0x11}}, {"GPIO2Mode", "GPIO2OneShotDelay"}}, {{{55, 2}}, {"MAPSensorBar"}},
        {{{88, 20}, {82, 90}, {87, 90}, {81, 20}},
         {"GPIO3MinRPM", "GPIO3MaxRPM", "GPIO3ShiftRPM4", "GPIO3ShiftRPM5"}},
        {{{73, 1}}, {"GPIO2VSSFreq"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const TuneDifference difference = differenceAfter(c.changes);
        EXPECT_EQ(difference.parameters, c.parameters) << c.changes.front().first;
        EXPECT_TRUE(difference.cells.empty() || c.changes.front().first == 48);
    }
}

TEST(TuneDifference, SummaryAndCountsSayHowMuchDiffers) {
    const struct {
        Changes changes;
        std::string summary, counts;
    } cases[] = {
        {{}, "Identical", "same"},
        // 23 steps below 30 is 27.98 degrees, 5 steps 29.56: +1.6 at 3500 RPM in row 5,
        // 22 kPa for this tune's 1 bar sensor, beside a cell of -0.1.
        {{{49, 6}, {table3DAddress(8, 5), 5}, {table3DAddress(1, 1), 24}},
         "2 cells (largest +1.6 at 3500 RPM, 22 kPa), 1 parameter differ",
         "2 cells, 1 parameter"},
        {{{49, 6}}, "1 parameter differs", "1 parameter"},
        {{{40, 1}, {41, 2}}, "2 other bytes differ", "2 other bytes"},
    };
    for (const auto& c : cases) {
        const TuneDifference difference = differenceAfter(c.changes);
        EXPECT_EQ(differenceSummary(difference, decodedImage(baseImage())), c.summary);
        EXPECT_EQ(differenceCounts(difference), c.counts);
    }
    // Cells from row 8 down, each at its own column and row with both advances; bytes the
    // program does not interpret are listed as bytes and nothing else.
    const TuneDifference some = differenceAfter(
        {{table3DAddress(1, 1), 24}, {table3DAddress(8, 5), 5}, {37, 1}, {79, 2}, {111, 3}});
    using Cell = std::tuple<TableKind, int, int, double, double>;
    std::vector<Cell> cells;
    for (const auto& d : some.cells) cells.emplace_back(d.kind, d.column, d.row, d.here, d.there);
    EXPECT_EQ(cells, (std::vector<Cell>{
                         {TableKind::Table3D, 8, 5, decodeCell(30, 23), decodeCell(30, 5)},
                         {TableKind::Table3D, 1, 1, decodeCell(30, 23), decodeCell(30, 24)}}));
    EXPECT_EQ(some.carriedBytes, (std::vector<int>{37, 79, 111}));
    EXPECT_TRUE(some.parameters.empty() && some.alikeBytes.empty());
    // A 2D cell below 0 degrees shows as 0 either way: the byte differs, nothing else.
    EepromBytes zeroBelow = baseImage();
    zeroBelow[48] = 1;
    const TuneDifference alike = differenceAfter({{20, 200}}, zeroBelow);
    EXPECT_EQ(alike.alikeBytes, std::vector<int>{20});
    EXPECT_EQ(differenceSummary(alike, decodedImage(zeroBelow)), "1 other byte differs");
}

}  // namespace
}  // namespace qz
