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

TEST(ModParams, SlidersFollowKeysAndDrags) {
    DialogFixture f;
    f.state.FixedMaxRPMLimitEnabled = true;
    f.state.MaxRPMLimit = 6000;
    f.state.StartRetard = 11;
    f.open();
    auto* d = f.dialog.get();
    QTest::keyClick(d->sldTrigTiming, Qt::Key_Up);  // up is a larger value
    EXPECT_EQ(d->PendingTrigTiming, 31);
    EXPECT_EQ(d->lblTrigTimingVal->text(), " 31");
    QTest::keyClick(d->sldTrigTiming, Qt::Key_PageDown);
    EXPECT_EQ(d->PendingTrigTiming, 26);
    EXPECT_EQ(f.state.TrigTiming, 30) << "the trigger timing waits for OK";

    QTest::keyClick(d->sldMaxRPMLimit, Qt::Key_PageUp);
    EXPECT_EQ(f.state.MaxRPMLimit, 7000);
    test::dragSliderTo(d->sldMaxRPMLimit, true);
    EXPECT_EQ(f.state.MaxRPMLimit, 10900);
    test::dragSliderTo(d->sldMaxRPMLimit, false);
    EXPECT_EQ(f.state.MaxRPMLimit, 2000);
    EXPECT_EQ(d->lblMaxRPMLimitVal->text(), " 2000");

    test::dragSliderTo(d->sldCrankPulses, true);
    EXPECT_EQ(f.state.CrankPulses, 12);
    QTest::keyClick(d->sldCrankPulses, Qt::Key_Down);
    EXPECT_EQ(f.state.CrankPulses, 11);
    QTest::keyClick(d->sldCrankPulses, Qt::Key_PageDown);
    EXPECT_EQ(f.state.CrankPulses, 9);

    test::dragSliderTo(d->sldRetardComp, true);
    EXPECT_EQ(f.state.RetardComp, 57);
    EXPECT_EQ(d->lblRetardCompVal->text(), "5.0");
    QTest::keyClick(d->sldRetardComp, Qt::Key_Down);
    EXPECT_EQ(f.state.RetardComp, 51);
    EXPECT_EQ(d->lblRetardCompVal->text(), "4.5");
    QTest::keyClick(d->sldRetardComp, Qt::Key_PageDown);
    EXPECT_EQ(d->lblRetardCompVal->text(), "3.5");

    test::dragSliderTo(d->sldStartRetard, true);
    EXPECT_EQ(f.state.StartRetard, 114);
    EXPECT_EQ(d->lblStartRtdVal->text(), "10");
}

TEST(ModParams, ARetardCompensationBetweenStepsIsKeptUntilTheSliderMoves) {
    DialogFixture f;
    f.state.RetardComp = 30;
    f.open();
    EXPECT_EQ(f.dialog->lblRetardCompVal->text(), "2.5");
    EXPECT_EQ(f.state.RetardComp, 30);
    QTest::keyClick(f.dialog->sldRetardComp, Qt::Key_Up);
    QTest::keyClick(f.dialog->sldRetardComp, Qt::Key_Down);
    EXPECT_EQ(f.state.RetardComp, 28);
    EXPECT_EQ(f.dialog->lblRetardCompVal->text(), "2.5");
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

TEST(ModParams, OKMovesBothTablesIntoTheNewTriggerTimingsWindow) {
    const struct {
        int trigTiming;
        double advance;
        double clamped;
    } cases[] = {
        {30, 5, 8}, {30, 35, 30}, {30, -1, 0}, {30, 20, 20}, {10, 3, 3}, {10, -12, 0}, {10, 11, 10},
    };
    for (const auto& c : cases) {
        DialogFixture f;
        f.state.TrigTiming = static_cast<std::int16_t>(c.trigTiming);
        f.state.Table2D(4, 1) = c.advance;
        f.state.Table3D(21, 1) = c.advance;
        f.open();
        QTest::mouseClick(f.dialog->cmdOK, Qt::LeftButton);
        EXPECT_EQ(f.state.Table2D(4, 1), c.clamped) << c.trigTiming << " " << c.advance;
        EXPECT_EQ(f.state.Table3D(21, 1), c.clamped) << c.trigTiming << " " << c.advance;
        EXPECT_EQ(f.state.Table2D(4, 2), c.trigTiming);
        EXPECT_FALSE(f.state.BufferEmpty);
        EXPECT_EQ(f.dialog->result(), QDialog::Accepted);
    }
}

TEST(ModParams, OKTakesThePendingTriggerTimingAndTheFrameDropsIt) {
    for (bool ok : {true, false}) {
        DialogFixture f;
        f.state.Table2D(1, 1) = 29;
        f.open();
        QTest::keyClick(f.dialog->sldTrigTiming, Qt::Key_PageDown);  // 25
        test::click(f.dialog->chkMultiSparkDisable);
        if (ok)
            QTest::mouseClick(f.dialog->cmdOK, Qt::LeftButton);
        else
            f.dialog->close();
        EXPECT_EQ(f.state.TrigTiming, ok ? 25 : 30);
        EXPECT_EQ(f.state.Table2D(1, 1), ok ? 25 : 29);
        EXPECT_EQ(f.state.BufferEmpty, !ok);
        EXPECT_FALSE(f.state.MultiSparkEnabled) << "immediate changes stay either way";
    }
}

}  // namespace
}  // namespace qz
