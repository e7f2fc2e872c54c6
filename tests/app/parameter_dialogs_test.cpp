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
    for (int a = 81; a <= 90; ++a) bytes[a - 16] = 100;
    // clang-format off
    for (const auto& [address, value] : {std::pair{48, 30}, {49, 4}, {50, 0x40 | 0x20 | 0x1C},
             {51, 65}, {65, 204}, {66, 214}, {73, 150}, {75, 30}, {76, 60}, {77, 120}})
        bytes[address - 16] = static_cast<char>(value);
    // clang-format on
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
        for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{
                 d->opt3DTimingTable, d->optMAP2Bar, d->optCyl4, d->chkMultiSparkDisable,
                 d->chkHighSpeedDataLog, d->chkStartRtd})
            test::click(box);
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
    // clang-format off
    expected.update({
        {"TrigTiming", 29}, {"Table3DEnabled", true}, {"Table2DEnabled", false},
        {"MAPSensorBar", 1}, {"Cyl4Engine", true}, {"MultiSparkEnabled", false},
        {"HighSpeedDataLog", true}, {"DataLogFlags", 1}, {"StartRetard", 23}, {"CrankPulses", 5},
        {"MaxRPMLimit", 7500}, {"RetardComp", 6}, {"ModuleFlags", 0x80 | 0x20 | 0x10 | 0x04 | 0x01},
        {"GPI1Mode", 2}, {"GPI1OnTPS", 230}, {"GPIO2Mode", 0x14}, {"GPIO2OneShotDelay", true},
        {"GPIO2Delay", 16}, {"GPIO2MaxRPM", 6500}, {"GPIO3Mode", 3}, {"GPIO3ShiftRPM2", 6400},
    });
    // clang-format on
    // OK moved the 2D advances into the window of the new trigger timing; the table bytes
    // themselves are only written by a table save, so the file decodes them as before.
    nlohmann::json saved = showJson(f.folder.file("track.dat"));
    for (const char* table : {"Table2D", "Table3D"}) saved[table] = expected[table] = nullptr;
    EXPECT_EQ(saved, expected);
}

}  // namespace
}  // namespace qz
