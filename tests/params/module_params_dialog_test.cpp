#include "params/module_params_dialog.h"

#include <gtest/gtest.h>

#include <set>

#include "support/scripted_prompts.h"
#include "support/variables.h"
#include "support/widget_input.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

struct DialogFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    std::vector<bool> commandStates;
    std::unique_ptr<frmModParams> dialog;

    explicit DialogFixture(const char* variables = "") { test::variables(state, variables); }
    frmModParams* open() {
        dialog = std::make_unique<frmModParams>(state, prompts,
                                                [this](bool on) { commandStates.push_back(on); });
        dialog->show();
        return dialog.get();
    }
    // The named controls that are checked, or else hidden, without their type prefix.
    std::string controls(bool checked) const {
        std::set<std::string> names;
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            auto* button = qobject_cast<QAbstractButton*>(w);
            if (checked ? button && button->isChecked() : w->isHidden())
                names.insert(w->objectName().mid(3).toStdString());
        }
        std::string out;
        for (const auto& name : names) out += (out.empty() ? "" : " ") + name;
        return out;
    }
    // Each slider's label and position, from the trigger timing to the start retard.
    std::string sliders() const {
        std::string out;
        for (QSlider* s : {dialog->sldTrigTiming, dialog->sldMaxRPMLimit, dialog->sldCrankPulses,
                           dialog->sldRetardComp, dialog->sldStartRetard})
            out += label(s)->text().toStdString() + "@" + std::to_string(s->value()) + ",";
        return out;
    }
    static QLabel* label(QSlider* slider) { return slider->parentWidget()->findChild<QLabel*>(); }
};

// Opening sets every control from the variables, changing none but the RPM limit, which
// without a fixed limit is set to 3000. A value no slider position can show is reported, and
// after Ignore every control still agrees with the variable.
TEST(ModParams, OpeningShowsTheVariables) {
    const struct {
        const char* set;
        int invalid;  // values no slider can show, each answered Ignore
        const char* checked;
        const char* hidden;
        const char* sliders;
        const char* after;
        std::vector<bool> commands;
    } cases[] = {
        // clang-format off
        {"Table2DEnabled=1 Table3DEnabled=1 MAPSensorBar=5 FixedMaxRPMLimitEnabled=1 Cyl4Engine=1 "
         "Cyl6Engine=1 MaxRPMLimit=6500 CrankPulses=6 RetardComp=30 StartRetard=57 TrigTiming=28 "
         "HighSpeedDataLog=1 MultiSparkEnabled=0", 0,
         "3DTimingTable Cyl6 FixedMaxRPMLimit HighSpeedDataLog MAP1Bar MultiSparkDisable StartRtd",
         "", " 28@12, 6500@74, 6@6,2.5@5,5@5,", "MAPSensorBar=5 Cyl4Engine=0 RetardComp=30", {true}},
        {"StartRetard=150 RetardComp=60", 3, "Cyl8 DisableTimingTable MAP1Bar StartRtd",
         "Cyl4 Cyl6 Cyl8 MAPSensor MaxRPMLimit TrigTiming", " 30@10, 3000@109, 2@10,5.5@0,13@0,",
         "StartRetard=150 RetardComp=60", {}},
        {"MaxRPMLimit=8000 TimingEnabled=0", 0, "Cyl8 DisableTimingTable MAP1Bar TimingDisable",
         "Cyl4 Cyl6 Cyl8 MAPSensor MaxRPMLimit StartRtd TrigTiming",
         " 30@10, 3000@109, 2@10,0.0@10,0@10,", "MaxRPMLimit=3000 TimingEnabled=0", {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        DialogFixture f(c.set);
        for (int i = 0; i < c.invalid; ++i) f.prompts.answer(PromptAnswer::Ignore);
        EXPECT_EQ(f.open()->windowTitle(), "Tunewell QZ - Edit Module Parameters");
        EXPECT_EQ(f.prompts.messages(),
                  std::vector<std::string>(c.invalid, "Invalid property value"));
        EXPECT_EQ(std::tuple(f.controls(true), f.controls(false), f.sliders(), f.commandStates),
                  std::tuple(c.checked, c.hidden, c.sliders, c.commands));
        test::variables(f.state, c.after, true);
    }
}

// Steps in order on one dialog: a key (up is a larger value) or a drag to the top, then the
// variable and the label. The trigger timing waits for OK; the others change at once. A
// retard compensation between steps is kept until its slider moves.
TEST(ModParams, SlidersFollowKeysAndDrags) {
    DialogFixture f(
        "FixedMaxRPMLimitEnabled=1 MaxRPMLimit=6000 CrankPulses=6 RetardComp=30 StartRetard=11");
    frmModParams* d = f.open();
    constexpr int top = 0;  // a drag to the top
    using M = frmModParams;
    const struct {
        QSlider* frmModParams::*slider;
        int key;
        const char* after;  // none: the pending trigger timing
        const char* label;
    } steps[] = {
        {&M::sldTrigTiming, Qt::Key_Up, nullptr, " 31"},
        {&M::sldTrigTiming, Qt::Key_PageDown, nullptr, " 26"},
        {&M::sldMaxRPMLimit, Qt::Key_PageUp, "MaxRPMLimit=7000", " 7000"},
        {&M::sldMaxRPMLimit, top, "MaxRPMLimit=10900", " 10900"},
        {&M::sldCrankPulses, Qt::Key_PageDown, "CrankPulses=4", " 4"},
        {&M::sldRetardComp, Qt::Key_Up, "RetardComp=34", "3.0"},
        {&M::sldRetardComp, Qt::Key_PageDown, "RetardComp=23", "2.0"},
        {&M::sldStartRetard, top, "StartRetard=114", "10"},
    };
    for (const auto& step : steps) {
        QSlider* slider = d->*step.slider;
        if (step.key == top)
            test::dragSliderTo(slider, true);
        else
            QTest::keyClick(slider, static_cast<Qt::Key>(step.key));
        if (step.after) test::variables(f.state, step.after, true);
        EXPECT_EQ(f.label(slider)->text(), step.label);
    }
    EXPECT_EQ(std::tuple(d->PendingTrigTiming, f.state.TrigTiming), std::tuple(26, 30))
        << "the trigger timing waits for OK";
}

// Clicks in order on one dialog, each changing its variables at once and, where it says,
// showing or hiding frames and buttons; a slider named is given PageUp.
TEST(ModParams, ClicksChangeTheirVariablesAtOnce) {
    DialogFixture f("StartRetard=57");
    frmModParams* d = f.open();
    const char* noLimit = "Cyl4 Cyl6 Cyl8 MAPSensor MaxRPMLimit TrigTiming";
    const struct {
        const char* control;
        const char* after;
        const char* hidden = nullptr;
        const char* sliders = nullptr;
    } steps[] = {
        // clang-format off
        {"chkRPMLimitDisable", "RPMLimitEnabled=0"},
        {"chkTimingDisable", "TimingEnabled=0 MultiSparkEnabled=1"},
        {"chkHighSpeedDataLog", "HighSpeedDataLog=1"},
        {"opt2DTimingTable", "Table2DEnabled=1", "Cyl4 Cyl6 Cyl8 MAPSensor MaxRPMLimit"},
        {"opt3DTimingTable", "Table3DEnabled=1 Table2DEnabled=0", "Cyl4 Cyl6 Cyl8 MaxRPMLimit"},
        {"optMAP3Bar", "MAPSensorBar=2"},
        {"optDisableTimingTable", "Table3DEnabled=0", noLimit},
        {"chkFixedMaxRPMLimit", "FixedMaxRPMLimitEnabled=1", "MAPSensor TrigTiming"},
        {"optCyl4", "Cyl4Engine=1"},
        {"optCyl6", "Cyl4Engine=0 Cyl6Engine=1"},
        {"sldMaxRPMLimit", "MaxRPMLimit=4000"},
        // Unchecking and checking again leaves the limit at 3000 until the slider moves.
        {"chkFixedMaxRPMLimit", "FixedMaxRPMLimitEnabled=0", noLimit},
        {"chkFixedMaxRPMLimit", "MaxRPMLimit=3000", "MAPSensor TrigTiming", " 30@10, 3000@109, 2@10,0.0@10,5@5,"},
        {"chkStartRtd", "StartRetard=0", "MAPSensor StartRtd TrigTiming", " 30@10, 3000@109, 2@10,0.0@10,0@10,"},
        {"chkStartRtd", "StartRetard=0", "MAPSensor TrigTiming"},
        // clang-format on
    };
    for (const auto& step : steps) {
        if (auto* button = d->findChild<QAbstractButton*>(step.control))
            test::click(button);
        else
            QTest::keyClick(d->findChild<QSlider*>(step.control), Qt::Key_PageUp);
        test::variables(f.state, step.after, true);
        if (step.hidden) {
            EXPECT_EQ(f.controls(false), step.hidden) << step.control;
        }
        if (step.sliders) {
            EXPECT_EQ(f.sliders(), step.sliders) << step.control;
        }
    }
    EXPECT_EQ(f.controls(true),
              "Cyl6 DisableTimingTable FixedMaxRPMLimit HighSpeedDataLog MAP3Bar RPMLimitDisable "
              "StartRtd TimingDisable");
    EXPECT_EQ(f.commandStates, (std::vector<bool>{true, true, false}));
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
        EXPECT_EQ(std::tuple(f.state.TrigTiming, f.state.Table2D(4, 1), f.state.Table3D(21, 1),
                             f.state.Table2D(4, 2), f.state.BufferEmpty, f.dialog->result()),
                  std::tuple(trigger, c.kept, c.kept, c.ok ? trigger : 0, !c.ok,
                             c.ok ? QDialog::Accepted : QDialog::Rejected))
            << c.trigTiming << " " << c.advance;
        EXPECT_FALSE(f.state.MultiSparkEnabled) << "changes made at once stay";
    }
}

}  // namespace
}  // namespace qz
