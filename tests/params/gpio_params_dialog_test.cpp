#include "params/gpio_params_dialog.h"

#include <gtest/gtest.h>

#include <set>

#include "support/scripted_prompts.h"
#include "support/variables.h"
#include "support/widget_input.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

struct GpioFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<frmGPIOParams> dialog;

    // Opens the dialog on the variables given.
    explicit GpioFixture(const char* variables) {
        test::variables(state, variables);
        dialog = std::make_unique<frmGPIOParams>(state, prompts);
        dialog->show();
        // Focus moves, and so fields are checked, only in the active window.
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    QLineEdit* field(const char* name) const { return dialog->field(name); }
    // Types into a field and leaves it for the OK button.
    void enter(const char* name, const QString& text) {
        test::typeInto(field(name), text, dialog->cmdOK);
    }
};

// The buttons under `root` that are checked, or else the fields and check boxes that are
// enabled, by name in alphabetical order.
std::string names(const QWidget& root, bool checked) {
    std::set<std::string> names;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (checked
                ? button && button->isChecked()
                : (qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w)) && w->isEnabled())
            names.insert(w->objectName().toStdString());
    }
    std::string out;
    for (const auto& name : names) out += (out.empty() ? "" : " ") + name;
    return out;
}

TEST(GpioParams, OpeningSelectsEachFunctionAndWritesTheFields) {
    // TPS analog NOS with high bits set; code 9, no function, is data log.
    GpioFixture f("GPI1Mode=0x32 GPIO2Mode=0x19 GPIO2OneShotDelay=1 GPIO3Mode=3 GPIO2Delay=3");
    EXPECT_EQ(f.dialog->windowTitle(), "Tunewell QZ - Edit General Purpose Input/Ouput Parameters");
    EXPECT_EQ(names(*f.dialog, true),
              "chkGPIO2OneShotDelay optGPI1AnalogNOS optGPIO2DataLog optGPIO3MSShift");
    test::variables(f.state, "GPI1Mode=0x32 GPIO2Mode=0x19", true);  // until a button is clicked
    EXPECT_EQ(names(*f.dialog, false),
              "txtGPI1OffTPS txtGPI1OnTPS txtGPI1Rtd txtGPIO3LaunchRPM txtGPIO3ShiftDropRPM "
              "txtGPIO3ShiftRPM1 txtGPIO3ShiftRPM2 txtGPIO3ShiftRPM3 txtGPIO3ShiftRPM4 "
              "txtGPIO3ShiftRPM5 txtGPIO3ShortShiftRPM");
    // clang-format off
    for (const auto& [name, text] : {std::pair{"txtGPI1OnTPS", "4.2"}, {"txtGPI1OffTPS", "4.0"},
             {"txtGPI1Rtd", "0"}, {"txtGPIO2VSSFreq", " 150"}, {"txtGPIO2Delay", "0.10"},
             {"txtGPIO3ShiftDropRPM", " 500"}})
        // clang-format on
        EXPECT_EQ(f.field(name)->text(), text);
}

// Every function of every line: the low four bits it writes and the controls it enables.
TEST(GpioParams, FunctionButtonsSetTheLowBitsAndEnableTheirControls) {
    const struct {
        const char* button;
        const char* before;
        const char* after;
        const char* enabled;
    } cases[] = {
        {"optGPI1DataLog", "GPI1Mode=0x31", "GPI1Mode=0x30", ""},
        {"optGPI1DigitalNOS", "GPI1Mode=0x30", "GPI1Mode=0x31", "txtGPI1Rtd"},
        {"optGPI1AnalogNOS", "GPI1Mode=0x00", "GPI1Mode=0x02",
         "txtGPI1OffTPS txtGPI1OnTPS txtGPI1Rtd"},
        {"optGPI1AnalogRtd", "GPI1Mode=0x80", "GPI1Mode=0x83", ""},
        {"optGPI1DigitalRtd", "GPI1Mode=0x30", "GPI1Mode=0x34", "txtGPI1Rtd"},
        {"optGPIO2DataLog", "GPIO2Mode=0x14", "GPIO2Mode=0x10", ""},
        {"optGPIO2VSS", "GPIO2Mode=0xE4", "GPIO2Mode=0xE1", "txtGPIO2VSSFreq"},
        {"optGPIO2BurnRPMLim", "GPIO2Mode=0x00", "GPIO2Mode=0x02", "txtGPIO2BurnRPMLim"},
        {"optGPIO2RPMSwitch", "GPIO2Mode=0x10", "GPIO2Mode=0x13", "txtGPIO2MaxRPM txtGPIO2MinRPM"},
        {"optGPIO2NOS", "GPIO2Mode=0x10", "GPIO2Mode=0x14",
         "chkGPIO2OneShotDelay txtGPIO2Delay txtGPIO2MaxRPM txtGPIO2MinRPM"},
        {"optGPIO3DataLog", "GPIO3Mode=0x02", "GPIO3Mode=0x00", ""},
        {"optGPIO3RPMSwitch", "GPIO3Mode=0x4F", "GPIO3Mode=0x41", "txtGPIO3MaxRPM txtGPIO3MinRPM"},
        {"optGPIO3BasicShift", "GPIO3Mode=0x00", "GPIO3Mode=0x02", "txtGPIO3ShiftRPM1"},
        {"optGPIO3MSShift", "GPIO3Mode=0x00", "GPIO3Mode=0x03",
         "txtGPIO3LaunchRPM txtGPIO3ShiftDropRPM txtGPIO3ShiftRPM1 txtGPIO3ShiftRPM2 "
         "txtGPIO3ShiftRPM3 txtGPIO3ShiftRPM4 txtGPIO3ShiftRPM5 txtGPIO3ShortShiftRPM"},
    };
    for (const auto& c : cases) {
        GpioFixture f(c.before);
        test::click(f.dialog->functionButton(c.button));
        test::variables(f.state, c.after, true);
        EXPECT_EQ(names(*f.dialog->functionButton(c.button)->parentWidget(), false), c.enabled);
    }
}

// The conversions themselves are the field rules' own tests; here, that the dialog stores
// what they give, writes back what they show, says what it corrected under the field's
// title, and keeps each pair in order: each step types into a field and leaves it, then a
// variable and the text of its field (the field's own, or its partner's).
TEST(GpioParams, FieldsStoreTheModulesUnitAndPairsStayInOrder) {
    GpioFixture f("GPI1Mode=2 GPIO2Mode=4");
    f.prompts.answer(PromptAnswer::OK);
    const struct {
        const char* field;
        const char* typed;
        const char* stored;
        const char* shownIn;
        const char* text;
    } steps[] = {
        {"txtGPIO2MinRPM", "7000", "GPIO2MaxRPM=7000", "txtGPIO2MaxRPM", "7000"},
        {"txtGPI1OffTPS", "5", "GPI1OffTPS=250 GPI1OnTPS=250", "txtGPI1OnTPS", "4.9"},
    };
    for (const auto& step : steps) {
        f.enter(step.field, step.typed);
        test::variables(f.state, step.stored, true);
        EXPECT_EQ(f.field(step.shownIn)->text(), step.text) << step.field;
    }
    test::click(f.dialog->chkGPIO2OneShotDelay);
    EXPECT_TRUE(f.state.GPIO2OneShotDelay);
    const test::ShownPrompt& shown = f.prompts.shown().at(0);
    EXPECT_EQ(std::tuple(f.prompts.shown().size(), shown.text, shown.title, shown.icon),
              std::tuple(std::size_t(1), std::string("Value must be less than or equal to 4.9"),
                         std::string("Off TPS"), PromptIcon::Exclamation));
}

TEST(GpioParams, OKChecksTheFieldBeingTypedInAndTheFrameDoesNot) {
    for (bool ok : {true, false}) {
        GpioFixture f("GPIO3Mode=3");
        test::typeInto(f.field("txtGPIO3LaunchRPM"), "4030");  // and still in the field
        if (ok)
            QTest::mouseClick(f.dialog->cmdOK, Qt::LeftButton);
        else
            f.dialog->close();
        EXPECT_EQ(f.state.GPIO3LaunchRPM, ok ? 4050 : 3000);
        EXPECT_FALSE(f.dialog->isVisible());
    }
}

}  // namespace
}  // namespace qz
