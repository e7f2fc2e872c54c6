#include "params/gpio_fields.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(GpioFields, LeavingAFieldChecksConvertsAndRewritesIt) {
    const struct {
        const char* field;
        const char* typed;
        int stored;
        const char* text;
        const char* message;  // "" for none
    } cases[] = {
        {"txtGPI1OnTPS", "4.2", 214, "4.2", ""},
        {"txtGPI1OnTPS", "0.4", 26, "0.5", "Value must be greater than or equal to 0.5"},
        {"txtGPI1OnTPS", "5.1", 255, "5.0", "Value must be less than or equal to 5.0"},
        {"txtGPI1OffTPS", "5", 250, "4.9", "Value must be less than or equal to 4.9"},
        {"txtGPI1OffTPS", "-1", 0, "0.0", "Value must be greater than or equal to 0"},
        {"txtGPI1Rtd", "10.9", 114, "10", ""},  // integer fields round down first
        {"txtGPI1Rtd", "1", 11, "1", ""},       // 0.97 degree: rounded, not cut
        {"txtGPI1Rtd", "21", 228, "20", "Value must be less than or equal to 20"},
        {"txtGPI1Rtd", "-0.5", 0, "0", "Value must be greater than or equal to 0"},
        {"txtGPIO2VSSFreq", "abc", 50, "50", "Value must be greater than or equal to 50"},
        {"txtGPIO2VSSFreq", " 1 500 Hz", 1500, "1500", ""},
        {"txtGPIO2VSSFreq", "3001", 3000, "3000", "Value must be less than or equal to 3000"},
        {"txtGPIO2BurnRPMLim", "1050", 1000, "1000", ""},
        {"txtGPIO2BurnRPMLim", "1150", 1200, "1200", ""},
        {"txtGPIO2BurnRPMLim", "999", 1000, "1000", "Value must be greater than or equal to 1000"},
        {"txtGPIO2BurnRPMLim", "9901", 9900, "9900", "Value must be less than or equal to 9900"},
        {"txtGPIO2MinRPM", "3025", 3000, "3000", ""},
        {"txtGPIO2MinRPM", "3075", 3100, "3100", ""},
        {"txtGPIO2MinRPM", "-5", 0, "0", "Value must be greater than or equal to zero"},
        {"txtGPIO2MinRPM", "10901", 10900, "10900", "Value must be less than or equal to 10900"},
        {"txtGPIO2MaxRPM", "500", 1000, "1000", "Value must be greater than or equal to 1000"},
        {"txtGPIO2MaxRPM", "12000", 11000, "11000", "Value must be less than or equal to 11000"},
        {"txtGPIO2Delay", "0.1", 3, "0.10", ""},
        {"txtGPIO2Delay", "0.5", 16, "0.50", ""},  // 15.6 steps
        {"txtGPIO2Delay", "8.5", 250, "8.00", "Value must be less than or equal to 8.0"},
        {"txtGPIO2Delay", "-1", 0, "0.00", "Value must be greater than or equal to zero"},
        {"txtGPIO3MinRPM", "-1", 0, "0", "Value must be greater than or equal to zero"},
        {"txtGPIO3MinRPM", "10901", 10900, "10900", "Value must be less than or equal to 10900"},
        {"txtGPIO3MaxRPM", "11001", 11000, "11000", "Value must be less than or equal to 11000"},
        {"txtGPIO3MaxRPM", "999", 1000, "1000", "Value must be greater than or equal to 1000"},
        {"txtGPIO3LaunchRPM", "10901", 10900, "10900", "Value must be less than or equal to 10900"},
        {"txtGPIO3ShiftRPM5", "0", 1000, "1000", "Value must be greater than or equal to 1000"},
        {"txtGPIO3LaunchRPM", "999", 1000, "1000", "Value must be greater than or equal to 1000"},
        {"txtGPIO3ShiftRPM3", "10950", 10900, "10900", "Value must be less than or equal to 10900"},
        {"txtGPIO3ShiftRPM2", "10901", 10900, "10900", "Value must be less than or equal to 10900"},
        {"txtGPIO3ShortShiftRPM", "-5", 0, "0", "Value must be greater than or equal to zero"},
        {"txtGPIO3ShortShiftRPM", "1001", 1000, "1000", "Value must be less than or equal to 1000"},
        {"txtGPIO3ShiftDropRPM", "249", 250, "250", "Value must be greater than or equal to 250"},
        {"txtGPIO3ShiftDropRPM", "1001", 1000, "1000", "Value must be less than or equal to 1000"},
    };
    for (const auto& c : cases) {
        const FieldCheck check = checkGpioField(gpioField(c.field), c.typed);
        EXPECT_EQ(std::tuple(check.stored, check.text, check.message.value_or("")),
                  std::tuple(c.stored, c.text, c.message))
            << c.field << " " << c.typed;
    }
}

TEST(GpioFields, OrderedPairsFollowInBothDirections) {
    ParameterVariables v;
    v.GPIO2MinRPM = 7000;  // above the maximum of 6000
    EXPECT_STREQ(partnerToFollow(gpioField("txtGPIO2MinRPM"), v)->name, "txtGPIO2MaxRPM");
    EXPECT_STREQ(partnerToFollow(gpioField("txtGPIO2MaxRPM"), v)->name, "txtGPIO2MinRPM");
    v.GPIO2MinRPM = 6000;  // equal values are in order
    EXPECT_EQ(partnerToFollow(gpioField("txtGPIO2MinRPM"), v), nullptr);
    v.GPI1OffTPS = 250;
    EXPECT_STREQ(partnerToFollow(gpioField("txtGPI1OffTPS"), v)->name, "txtGPI1OnTPS");
    v.GPIO3MaxRPM = 1000;
    EXPECT_STREQ(partnerToFollow(gpioField("txtGPIO3MaxRPM"), v)->name, "txtGPIO3MinRPM");
    EXPECT_EQ(partnerToFollow(gpioField("txtGPIO3ShiftRPM1"), v), nullptr);
}

TEST(GpioFields, AModeByteSelectsItsFunctionByTheLowFourBits) {
    for (const auto& [line, last] :
         {std::pair{GpioLine::GPI1, 4}, {GpioLine::GPIO2, 4}, {GpioLine::GPIO3, 3}})
        for (int mode = 0; mode < 256; ++mode)
            EXPECT_EQ(selectedFunction(line, static_cast<std::uint8_t>(mode)).code,
                      (mode & 15) <= last ? mode & 15 : 0)
                << mode;
    EXPECT_EQ(std::tuple(withFunction(0x30, 4), withFunction(0xF9, 1), withFunction(0x14, 0)),
              std::tuple(0x34, 0xF1, 0x10));
}

}  // namespace
}  // namespace qz
