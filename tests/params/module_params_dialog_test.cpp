#include "params/module_params_dialog.h"

#include <gtest/gtest.h>

#include "support/scripted_prompts.h"
#include "support/widget_input.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

struct DialogFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    std::vector<bool> commandStates;
    std::unique_ptr<frmModParams> dialog;

    void open() {
        dialog = std::make_unique<frmModParams>(state, prompts,
                                                [this](bool on) { commandStates.push_back(on); });
        dialog->show();
    }
};

TEST(ModParams, OpeningShowsTheVariables) {
    DialogFixture f;
    f.state.Table2DEnabled = f.state.Table3DEnabled = true;
    f.state.MAPSensorBar = 5;
    f.state.FixedMaxRPMLimitEnabled = true;
    f.state.MaxRPMLimit = 6500;
    f.state.Cyl4Engine = f.state.Cyl6Engine = true;
    f.state.CrankPulses = 6;
    f.state.RetardComp = 30;
    f.state.StartRetard = 57;
    f.state.HighSpeedDataLog = true;
    f.state.MultiSparkEnabled = false;
    f.state.TrigTiming = 28;
    f.open();
    auto* d = f.dialog.get();
    EXPECT_EQ(d->windowTitle(), "Tunewell QZ - Edit Module Parameters");
    EXPECT_TRUE(d->opt3DTimingTable->isChecked());
    EXPECT_FALSE(d->opt2DTimingTable->isChecked());
    EXPECT_FALSE(d->optDisableTimingTable->isChecked());
    EXPECT_TRUE(d->optMAP1Bar->isChecked());
    EXPECT_EQ(f.state.MAPSensorBar, 5) << "unchanged until a MAP button is clicked";
    EXPECT_TRUE(d->fraMAPSensor->isVisible());
    EXPECT_TRUE(d->fraTrigTiming->isVisible());
    EXPECT_EQ(f.commandStates, std::vector<bool>{true});
    EXPECT_TRUE(d->chkFixedMaxRPMLimit->isChecked());
    EXPECT_EQ(d->sldMaxRPMLimit->value(), 74);
    EXPECT_EQ(d->lblMaxRPMLimitVal->text(), " 6500");
    EXPECT_TRUE(d->optCyl6->isChecked());
    EXPECT_FALSE(f.state.Cyl4Engine) << "selecting the six-cylinder button ran its click behaviour";
    EXPECT_EQ(d->sldCrankPulses->value(), 6);
    EXPECT_EQ(d->lblCrankPulsesVal->text(), " 6");
    EXPECT_EQ(d->lblRetardCompVal->text(), "2.5");
    EXPECT_EQ(f.state.RetardComp, 30);
    EXPECT_TRUE(d->chkStartRtd->isChecked());
    EXPECT_EQ(d->lblStartRtdVal->text(), "5");
    EXPECT_TRUE(d->chkHighSpeedDataLog->isChecked());
    EXPECT_TRUE(d->chkMultiSparkDisable->isChecked());
    EXPECT_FALSE(d->chkRPMLimitDisable->isChecked());
    EXPECT_EQ(d->PendingTrigTiming, 28);
    EXPECT_EQ(d->lblTrigTimingVal->text(), " 28");
    EXPECT_TRUE(f.prompts.shown().empty());
    // A retard compensation between steps is kept until the slider moves.
    QTest::keyClick(d->sldRetardComp, Qt::Key_Up);
    QTest::keyClick(d->sldRetardComp, Qt::Key_Down);
    EXPECT_EQ(f.state.RetardComp, 28);
    EXPECT_EQ(d->lblRetardCompVal->text(), "2.5");
}

// A value no slider position can show is reported, and after Ignore every control still
// agrees with the variable: the label reads it, the start retard box is checked.
TEST(ModParams, AValueNoSliderCanShowIsReportedAndTheControlsStillAgree) {
    DialogFixture f;
    f.state.StartRetard = 150;
    f.state.RetardComp = 60;
    for (int i = 0; i < 3; ++i) f.prompts.answer(PromptAnswer::Ignore);
    f.open();
    auto* d = f.dialog.get();
    EXPECT_EQ(f.prompts.messages(), std::vector<std::string>(3, "Invalid property value"));
    EXPECT_EQ(d->lblRetardCompVal->text(), "5.5");
    EXPECT_EQ(d->lblStartRtdVal->text(), "13");
    EXPECT_TRUE(d->chkStartRtd->isChecked());
    EXPECT_TRUE(d->fraStartRtd->isVisibleTo(d));
    EXPECT_EQ(f.state.StartRetard, 150);
    EXPECT_EQ(f.state.RetardComp, 60);
    EXPECT_EQ(d->lblTrigTimingVal->text(), " 30") << "Ignore went on with the opening";
}

TEST(ModParams, WithoutAFixedLimitOpeningSetsTheLimitTo3000) {
    DialogFixture f;
    f.state.MaxRPMLimit = 8000;
    f.state.TimingEnabled = false;
    f.open();
    EXPECT_TRUE(f.dialog->chkTimingDisable->isChecked());
    EXPECT_FALSE(f.state.TimingEnabled);
    EXPECT_FALSE(f.dialog->chkStartRtd->isChecked()) << "no start retard";
    EXPECT_FALSE(f.dialog->fraStartRtd->isVisible());
    EXPECT_EQ(f.state.MaxRPMLimit, 3000);
    EXPECT_FALSE(f.dialog->fraMaxRPMLimit->isVisible());
    EXPECT_FALSE(f.dialog->optCyl4->isVisible());
    EXPECT_TRUE(f.dialog->optDisableTimingTable->isChecked());
    EXPECT_TRUE(f.commandStates.empty()) << "the disabled table was already selected";
    f.dialog->close();
    EXPECT_EQ(f.state.MaxRPMLimit, 3000);
}

// Steps in order on one dialog: a key (up is a larger value) or a drag to an end, then the
// value and its label. The trigger timing waits for OK; the others change at once.
TEST(ModParams, SlidersFollowKeysAndDrags) {
    DialogFixture f;
    f.state.FixedMaxRPMLimitEnabled = true;
    f.state.MaxRPMLimit = 6000;
    f.state.StartRetard = 11;
    f.open();
    auto* d = f.dialog.get();
    constexpr int top = 1, bottom = 0;
    const struct {
        QSlider* frmModParams::*slider;
        int key;
        int value;
        const char* label;
    } steps[] = {
        {&frmModParams::sldTrigTiming, Qt::Key_Up, 31, " 31"},
        {&frmModParams::sldTrigTiming, Qt::Key_PageDown, 26, " 26"},
        {&frmModParams::sldMaxRPMLimit, Qt::Key_PageUp, 7000, " 7000"},
        {&frmModParams::sldMaxRPMLimit, top, 10900, " 10900"},
        {&frmModParams::sldMaxRPMLimit, bottom, 2000, " 2000"},
        {&frmModParams::sldCrankPulses, top, 12, " 12"},
        {&frmModParams::sldCrankPulses, Qt::Key_Down, 11, " 11"},
        {&frmModParams::sldCrankPulses, Qt::Key_PageDown, 9, " 9"},
        {&frmModParams::sldRetardComp, top, 57, "5.0"},
        {&frmModParams::sldRetardComp, Qt::Key_Down, 51, "4.5"},
        {&frmModParams::sldRetardComp, Qt::Key_PageDown, 40, "3.5"},
        {&frmModParams::sldStartRetard, top, 114, "10"},
    };
    for (const auto& step : steps) {
        QSlider* slider = d->*step.slider;
        if (step.key > top)
            QTest::keyClick(slider, static_cast<Qt::Key>(step.key));
        else
            test::dragSliderTo(slider, step.key == top);
        const auto [value, label] =
            slider == d->sldTrigTiming ? std::pair{d->PendingTrigTiming, d->lblTrigTimingVal}
            : slider == d->sldMaxRPMLimit
                ? std::pair{int{f.state.MaxRPMLimit}, d->lblMaxRPMLimitVal}
            : slider == d->sldCrankPulses
                ? std::pair{int{f.state.CrankPulses}, d->lblCrankPulsesVal}
            : slider == d->sldRetardComp ? std::pair{int{f.state.RetardComp}, d->lblRetardCompVal}
                                         : std::pair{int{f.state.StartRetard}, d->lblStartRtdVal};
        EXPECT_EQ(value, step.value) << step.label;
        EXPECT_EQ(label->text(), step.label);
    }
    EXPECT_EQ(f.state.TrigTiming, 30) << "the trigger timing waits for OK";
}

TEST(ModParams, ClicksChangeTheirVariablesAtOnce) {
    DialogFixture f;
    f.state.StartRetard = 57;
    f.open();
    auto* d = f.dialog.get();
    test::click(d->chkRPMLimitDisable);
    test::click(d->chkTimingDisable);
    test::click(d->chkHighSpeedDataLog);
    EXPECT_FALSE(f.state.RPMLimitEnabled);
    EXPECT_FALSE(f.state.TimingEnabled);
    EXPECT_TRUE(f.state.MultiSparkEnabled);
    EXPECT_TRUE(f.state.HighSpeedDataLog);

    test::click(d->opt2DTimingTable);
    EXPECT_TRUE(f.state.Table2DEnabled);
    EXPECT_FALSE(d->fraMAPSensor->isVisible());
    test::click(d->opt3DTimingTable);
    EXPECT_TRUE(f.state.Table3DEnabled);
    EXPECT_FALSE(f.state.Table2DEnabled);
    test::click(d->optMAP3Bar);
    EXPECT_EQ(f.state.MAPSensorBar, 2);
    EXPECT_FALSE(d->optMAP1Bar->isChecked());
    test::click(d->optDisableTimingTable);
    EXPECT_FALSE(f.state.Table3DEnabled);
    EXPECT_FALSE(d->fraTrigTiming->isVisible());
    EXPECT_EQ(f.commandStates, (std::vector<bool>{true, true, false}));

    test::click(d->chkFixedMaxRPMLimit);
    EXPECT_TRUE(d->optCyl4->isVisible());
    test::click(d->optCyl4);
    EXPECT_TRUE(f.state.Cyl4Engine);
    test::click(d->optCyl6);
    EXPECT_FALSE(f.state.Cyl4Engine);
    EXPECT_TRUE(f.state.Cyl6Engine);
    QTest::keyClick(d->sldMaxRPMLimit, Qt::Key_PageUp);
    EXPECT_EQ(f.state.MaxRPMLimit, 4000);
    // Unchecking and checking again leaves the limit at 3000 until the slider moves.
    test::click(d->chkFixedMaxRPMLimit);
    test::click(d->chkFixedMaxRPMLimit);
    EXPECT_EQ(d->sldMaxRPMLimit->value(), 109);
    EXPECT_EQ(d->lblMaxRPMLimitVal->text(), " 3000");
    EXPECT_EQ(f.state.MaxRPMLimit, 3000);

    test::click(d->chkStartRtd);
    EXPECT_EQ(f.state.StartRetard, 0);
    EXPECT_EQ(d->lblStartRtdVal->text(), "0");
    EXPECT_FALSE(d->fraStartRtd->isVisible());
    test::click(d->chkStartRtd);
    EXPECT_TRUE(d->fraStartRtd->isVisible());
    EXPECT_EQ(d->sldStartRetard->value(), 10);
}

// OK takes the pending trigger timing (PageDown: 5 degrees less) and moves both tables into
// its window; the frame drops it. Changes made at once stay either way.
TEST(ModParams, OKTakesThePendingTriggerTimingAndMovesBothTablesIntoItsWindow) {
    const struct {
        int trigTiming;
        bool pageDown;
        double advance, kept;
        bool ok = true;
    } cases[] = {
        {30, false, 5, 8},   {30, false, 35, 30}, {30, false, -1, 0},
        {30, false, 20, 20}, {10, false, 3, 3},   {10, false, -12, 0},
        {10, false, 11, 10}, {30, true, 29, 25},  {30, true, 29, 29, false},
    };
    for (const auto& c : cases) {
        DialogFixture f;
        f.state.TrigTiming = static_cast<std::int16_t>(c.trigTiming);
        f.state.Table2D(4, 1) = c.advance;
        f.state.Table3D(21, 1) = c.advance;
        f.open();
        if (c.pageDown) QTest::keyClick(f.dialog->sldTrigTiming, Qt::Key_PageDown);
        test::click(f.dialog->chkMultiSparkDisable);
        if (c.ok)
            QTest::mouseClick(f.dialog->cmdOK, Qt::LeftButton);
        else
            f.dialog->close();
        const int trigger = c.trigTiming - (c.pageDown && c.ok ? 5 : 0);
        EXPECT_EQ(f.state.TrigTiming, trigger);
        EXPECT_EQ(f.state.Table2D(4, 1), c.kept) << c.trigTiming << " " << c.advance;
        EXPECT_EQ(f.state.Table3D(21, 1), c.kept) << c.trigTiming << " " << c.advance;
        EXPECT_EQ(f.state.Table2D(4, 2), c.ok ? trigger : 0);
        EXPECT_EQ(f.state.BufferEmpty, !c.ok);
        EXPECT_EQ(f.dialog->result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_FALSE(f.state.MultiSparkEnabled) << "changes made at once stay";
    }
}

}  // namespace
}  // namespace qz
