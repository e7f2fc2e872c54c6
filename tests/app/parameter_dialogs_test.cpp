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

// What each control does is the dialogs' own tests; here, that what the dialogs leave (OK with
// a trigger timing pending, a box clicked, a field typed in) reaches the saved file, and
// nothing else changes.
TEST(ParameterDialogs, ChangesMadeInBothDialogsReachTheSavedFileAndNothingElse) {
    MainWindowFixture f;
    f.window->show();
    const auto original = f.folder.write("street.dat", tune());
    nlohmann::json expected = showJson(original);
    f.onDialog = [](QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        if (auto* d = qobject_cast<frmModParams*>(&dialog)) {
            test::click(d->optCyl4);
            QTest::keyClick(d->sldTrigTiming, Qt::Key_Down);  // 29 degrees
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        } else if (auto* g = qobject_cast<frmGPIOParams*>(&dialog)) {
            test::click(g->functionButton("optGPIO3MSShift"));
            test::typeInto(g->field("txtGPIO3ShiftRPM2"), "6375", g->cmdOK);
            QTest::mouseClick(g->cmdOK, Qt::LeftButton);
        }
    };
    f.prompts.answerFile(original);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuOpenFile->trigger();
    f.window->mnuEditGPIOParams->trigger();
    EXPECT_EQ(f.dialogsShown, (std::vector<std::string>{"frmModParams", "frmGPIOParams"}));
    f.prompts.answerFile(f.folder.path("track.dat"));
    f.window->mnuSaveFile->trigger();
    expected.update({{"TrigTiming", 29},
                     {"Cyl4Engine", true},
                     {"ModuleFlags", 0x40 | 0x20 | 0x1C | 0x01},
                     {"GPIO3Mode", 3},
                     {"GPIO3ShiftRPM2", 6400}});
    // OK moved the 2D advances into the window of the new trigger timing; the table bytes
    // themselves are only written by a table save, so the file decodes them as before.
    nlohmann::json saved = showJson(f.folder.path("track.dat"));
    for (const char* table : {"Table2D", "Table3D"}) saved[table] = expected[table] = nullptr;
    EXPECT_EQ(saved, expected);
}

}  // namespace
}  // namespace qz
