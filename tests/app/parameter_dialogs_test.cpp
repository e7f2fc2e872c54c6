#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "params/gpio_params_dialog.h"
#include "params/module_params_dialog.h"
#include "qz1/commands.h"
#include "support/main_window_fixture.h"
#include "support/widget_input.h"

namespace qz {
namespace {

using test::MainWindowFixture;

nlohmann::json showJson(const std::string& path) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(qz1::runQz1({"show", "--json", path}, out, err), 0) << err.str();
    return nlohmann::json::parse(out.str());
}

// A tune as a module holds it: 2D table, fixed 6500 RPM limit, 8 cylinders.
QByteArray tune() {
    QByteArray bytes(264, '\0');
    for (int n = 0; n < 21; ++n) bytes[n] = static_cast<char>(20 + n);
    bytes[48 - 16] = 30;
    bytes[49 - 16] = 4;
    bytes[50 - 16] = 0x40 | 0x20 | 0x1C;
    bytes[51 - 16] = 65;
    bytes[65 - 16] = static_cast<char>(204);
    bytes[66 - 16] = static_cast<char>(214);
    bytes[73 - 16] = static_cast<char>(150);
    bytes[75 - 16] = 30;
    bytes[76 - 16] = 60;
    bytes[77 - 16] = static_cast<char>(120);
    for (int a = 81; a <= 90; ++a) bytes[a - 16] = 100;
    return bytes;
}

TEST(ParameterDialogs, ChangesMadeInBothDialogsReachTheSavedFileAndNothingElse) {
    MainWindowFixture f;
    f.window->show();
    const auto original = f.folder.write("street.dat", tune());
    const nlohmann::json before = showJson(original);

    f.onDialog = [](QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* d = qobject_cast<frmModParams*>(&dialog);
        ASSERT_NE(d, nullptr);
        test::click(d->opt3DTimingTable);
        test::click(d->optMAP2Bar);
        test::click(d->optCyl4);
        test::click(d->chkMultiSparkDisable);
        test::click(d->chkHighSpeedDataLog);
        test::click(d->chkStartRtd);
        QTest::keyClick(d->sldStartRetard, Qt::Key_PageUp);  // 2 degrees: 23 counts
        QTest::keyClick(d->sldCrankPulses, Qt::Key_Up);      // 5 pulses
        QTest::keyClick(d->sldMaxRPMLimit, Qt::Key_PageUp);  // 7500 RPM
        QTest::keyClick(d->sldRetardComp, Qt::Key_Up);       // 0.5 degree: 6 counts
        QTest::keyClick(d->sldTrigTiming, Qt::Key_Down);     // 29 degrees
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    };
    f.prompts.answerFile(original);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuOpenFile->trigger();

    f.onDialog = [](QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* d = qobject_cast<frmGPIOParams*>(&dialog);
        ASSERT_NE(d, nullptr);
        test::click(d->functionButton("optGPI1AnalogNOS"));
        test::typeInto(d->field("txtGPI1OnTPS"), "4.5", d->cmdOK);
        test::click(d->functionButton("optGPIO2NOS"));
        test::click(d->chkGPIO2OneShotDelay);
        test::typeInto(d->field("txtGPIO2Delay"), "0.5", d->cmdOK);
        test::typeInto(d->field("txtGPIO2MaxRPM"), "6520", d->cmdOK);
        test::click(d->functionButton("optGPIO3MSShift"));
        test::typeInto(d->field("txtGPIO3ShiftRPM2"), "6375", d->cmdOK);
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    };
    f.window->mnuEditGPIOParams->trigger();
    EXPECT_EQ(f.dialogsShown, (std::vector<std::string>{"frmModParams", "frmGPIOParams"}));

    f.prompts.answerFile(f.folder.file("track.dat"));
    f.window->mnuSaveFile->trigger();
    ASSERT_EQ(f.folder.read("track.dat").size(), 264);

    nlohmann::json expected = before;
    const nlohmann::json changes = {
        {"TrigTiming", 29},
        {"Table3DEnabled", true},
        {"Table2DEnabled", false},
        {"MAPSensorBar", 1},
        {"Cyl4Engine", true},
        {"MultiSparkEnabled", false},
        {"HighSpeedDataLog", true},
        {"DataLogFlags", 1},
        {"StartRetard", 23},
        {"CrankPulses", 5},
        {"MaxRPMLimit", 7500},
        {"RetardComp", 6},
        {"ModuleFlags", 0x80 | 0x20 | 0x10 | 0x04 | 0x01},
        {"GPI1Mode", 2},
        {"GPI1OnTPS", 230},
        {"GPIO2Mode", 0x14},
        {"GPIO2OneShotDelay", true},
        {"GPIO2Delay", 16},
        {"GPIO2MaxRPM", 6500},
        {"GPIO3Mode", 3},
        {"GPIO3ShiftRPM2", 6400},
    };
    for (const auto& [name, value] : changes.items()) expected[name] = value;
    // OK moved the 2D advances into the window of the new trigger timing; the table bytes
    // themselves are only written by a table save, so the file decodes them as before.
    const nlohmann::json saved = showJson(f.folder.file("track.dat"));
    for (const auto& [name, value] : expected.items()) {
        if (name == "Table2D" || name == "Table3D") continue;
        EXPECT_EQ(saved[name], value) << name;
    }
}

}  // namespace
}  // namespace qz
