#include "params/gpio_params_dialog.h"

#include <gtest/gtest.h>

#include <set>

#include "support/scripted_prompts.h"
#include "support/widget_input.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

struct GpioFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<frmGPIOParams> dialog;

    void open() {
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

TEST(GpioParams, OpeningSelectsEachFunctionAndWritesTheFields) {
    GpioFixture f;
    f.state.GPI1Mode = 0x32;   // TPS analog NOS, high bits set
    f.state.GPIO2Mode = 0x19;  // code 9 is no function: data log
    f.state.GPIO2OneShotDelay = true;
    f.state.GPIO3Mode = 0x03;
    f.state.GPIO2Delay = 3;
    f.open();
    auto* d = f.dialog.get();
    EXPECT_EQ(d->windowTitle(), "Tunewell QZ - Edit General Purpose Input/Ouput Parameters");
    EXPECT_TRUE(d->functionButton("optGPI1AnalogNOS")->isChecked());
    EXPECT_TRUE(d->functionButton("optGPIO2DataLog")->isChecked());
    EXPECT_TRUE(d->functionButton("optGPIO3MSShift")->isChecked());
    EXPECT_EQ(f.state.GPI1Mode, 0x32);
    EXPECT_EQ(f.state.GPIO2Mode, 0x19) << "not changed until a button is clicked";
    EXPECT_TRUE(d->chkGPIO2OneShotDelay->isChecked());
    EXPECT_FALSE(d->chkGPIO2OneShotDelay->isEnabled());
    EXPECT_EQ(f.field("txtGPI1OnTPS")->text(), "4.2");
    EXPECT_EQ(f.field("txtGPI1OffTPS")->text(), "4.0");
    EXPECT_EQ(f.field("txtGPI1Rtd")->text(), "0");
    EXPECT_EQ(f.field("txtGPIO2VSSFreq")->text(), " 150");
    EXPECT_EQ(f.field("txtGPIO2Delay")->text(), "0.10");
    EXPECT_EQ(f.field("txtGPIO3ShiftDropRPM")->text(), " 500");
    for (const char* enabled :
         {"txtGPI1OnTPS", "txtGPI1OffTPS", "txtGPI1Rtd", "txtGPIO3LaunchRPM", "txtGPIO3ShiftRPM5",
          "txtGPIO3ShortShiftRPM", "txtGPIO3ShiftDropRPM"})
        EXPECT_TRUE(f.field(enabled)->isEnabled()) << enabled;
    for (const char* disabled :
         {"txtGPIO2VSSFreq", "txtGPIO2MinRPM", "txtGPIO2Delay", "txtGPIO3MinRPM"})
        EXPECT_FALSE(f.field(disabled)->isEnabled()) << disabled;
}

// Every function of every line: the low four bits it writes and the controls it enables.
TEST(GpioParams, FunctionButtonsSetTheLowBitsAndEnableTheirControls) {
    const std::set<std::string> rpm2 = {"txtGPIO2MinRPM", "txtGPIO2MaxRPM"};
    const std::set<std::string> nos = {"txtGPIO2MinRPM", "txtGPIO2MaxRPM", "txtGPIO2Delay",
                                       "chkGPIO2OneShotDelay"};
    const std::set<std::string> shift = {
        "txtGPIO3LaunchRPM", "txtGPIO3ShiftRPM1", "txtGPIO3ShiftRPM2",     "txtGPIO3ShiftRPM3",
        "txtGPIO3ShiftRPM4", "txtGPIO3ShiftRPM5", "txtGPIO3ShortShiftRPM", "txtGPIO3ShiftDropRPM"};
    const struct {
        const char* button;
        int modeBefore;
        int modeAfter;
        std::set<std::string> enabled;
    } cases[] = {
        {"optGPI1DataLog", 0x31, 0x30, {}},
        {"optGPI1DigitalNOS", 0x30, 0x31, {"txtGPI1Rtd"}},
        {"optGPI1AnalogNOS", 0x00, 0x02, {"txtGPI1OffTPS", "txtGPI1OnTPS", "txtGPI1Rtd"}},
        {"optGPI1AnalogRtd", 0x80, 0x83, {}},
        {"optGPI1DigitalRtd", 0x30, 0x34, {"txtGPI1Rtd"}},
        {"optGPIO2DataLog", 0x14, 0x10, {}},
        {"optGPIO2VSS", 0xE4, 0xE1, {"txtGPIO2VSSFreq"}},
        {"optGPIO2BurnRPMLim", 0x00, 0x02, {"txtGPIO2BurnRPMLim"}},
        {"optGPIO2RPMSwitch", 0x10, 0x13, rpm2},
        {"optGPIO2NOS", 0x10, 0x14, nos},
        {"optGPIO3DataLog", 0x02, 0x00, {}},
        {"optGPIO3RPMSwitch", 0x4F, 0x41, {"txtGPIO3MinRPM", "txtGPIO3MaxRPM"}},
        {"optGPIO3BasicShift", 0x00, 0x02, {"txtGPIO3ShiftRPM1"}},
        {"optGPIO3MSShift", 0x00, 0x03, shift},
    };
    for (const auto& c : cases) {
        GpioFixture f;
        const std::string_view name = c.button;
        std::uint8_t& mode = name.starts_with("optGPI1")    ? f.state.GPI1Mode
                             : name.starts_with("optGPIO2") ? f.state.GPIO2Mode
                                                            : f.state.GPIO3Mode;
        mode = static_cast<std::uint8_t>(c.modeBefore);
        f.open();
        test::click(f.dialog->functionButton(c.button));
        EXPECT_EQ(mode, c.modeAfter) << c.button;
        std::set<std::string> enabled;
        for (QWidget* control :
             f.dialog->functionButton(c.button)->parentWidget()->findChildren<QWidget*>())
            if ((qobject_cast<QLineEdit*>(control) || qobject_cast<QCheckBox*>(control)) &&
                control->isEnabled())
                enabled.insert(control->objectName().toStdString());
        EXPECT_EQ(enabled, c.enabled) << c.button;
    }
    GpioFixture oneShot;
    oneShot.state.GPIO2Mode = 4;
    oneShot.open();
    test::click(oneShot.dialog->chkGPIO2OneShotDelay);
    EXPECT_TRUE(oneShot.state.GPIO2OneShotDelay);
}

// The conversions themselves are the field rules' own tests; here, that the dialog stores
// what they give, writes back what they show, says what it corrected under the field's
// title, and keeps each pair in order.
TEST(GpioParams, FieldsStoreTheModulesUnitAndPairsStayInOrder) {
    GpioFixture f;
    f.state.GPI1Mode = 2;
    f.state.GPIO2Mode = 1;
    f.open();
    f.prompts.answer(PromptAnswer::OK);
    f.enter("txtGPIO2VSSFreq", "abc");
    ASSERT_EQ(f.prompts.shown().size(), 1u);
    EXPECT_EQ(f.prompts.shown()[0].text, "Value must be greater than or equal to 50");
    EXPECT_EQ(f.prompts.shown()[0].title, "VSS Frequency");
    EXPECT_EQ(f.prompts.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(f.state.GPIO2VSSFreq, 50);
    EXPECT_EQ(f.field("txtGPIO2VSSFreq")->text(), "50");

    test::click(f.dialog->functionButton("optGPIO2NOS"));
    f.enter("txtGPIO2Delay", "0.1");
    EXPECT_EQ(f.state.GPIO2Delay, 3);
    EXPECT_EQ(f.field("txtGPIO2Delay")->text(), "0.10");
    f.enter("txtGPIO2MinRPM", "7000");
    EXPECT_EQ(f.state.GPIO2MaxRPM, 7000);
    EXPECT_EQ(f.field("txtGPIO2MaxRPM")->text(), "7000");
    f.enter("txtGPIO2MaxRPM", "2000");
    EXPECT_EQ(f.state.GPIO2MinRPM, 2000);
    EXPECT_EQ(f.field("txtGPIO2MinRPM")->text(), "2000");

    f.prompts.answer(PromptAnswer::OK);
    f.enter("txtGPI1OffTPS", "5");  // above 4.9: 250, and the lower on value follows
    EXPECT_EQ(f.state.GPI1OffTPS, 250);
    EXPECT_EQ(f.state.GPI1OnTPS, 250);
    EXPECT_EQ(f.field("txtGPI1OnTPS")->text(), "4.9");
}

TEST(GpioParams, OKChecksTheFieldBeingTypedInAndTheFrameDoesNot) {
    for (bool ok : {true, false}) {
        GpioFixture f;
        f.state.GPIO3Mode = 3;
        f.open();
        QLineEdit* edit = f.field("txtGPIO3LaunchRPM");
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, "4030");
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
