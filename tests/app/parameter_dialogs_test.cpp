#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "params/gpio_params_dialog.h"
#include "params/module_params_dialog.h"
#include "qz1/commands.h"
#include "support/editor_fixture.h"
#include "support/widget_input.h"

namespace qz {
namespace {

nlohmann::json showJson(const std::string& path) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(qz1::runQz1({"show", "--json", path}, out, err), 0) << err.str();
    return nlohmann::json::parse(out.str());
}

// What each control does is the dialogs' own tests; here, that what the dialogs leave (OK with
// a trigger timing pending, a box clicked, a field typed in) reaches the saved file, and
// nothing else changes.
TEST(ParameterDialogs, ChangesMadeInBothDialogsReachTheSavedFileAndNothingElse) {
    test::EditorFixture f(test::k2D);  // its module parameters left unchanged on opening
    f.window->show();
    nlohmann::json expected = showJson(f.path);
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
    f.window->mnuEditModParams->trigger();
    f.window->mnuEditGPIOParams->trigger();
    EXPECT_EQ(f.dialogsShown,
              (std::vector<std::string>{"frmModParams", "frmModParams", "frmGPIOParams"}));
    f.prompts.answerFile(f.folder.path("track.dat"));
    f.window->mnuSaveFile->trigger();
    expected.update({{"TrigTiming", 29},
                     {"Cyl4Engine", true},
                     {"ModuleFlags", test::k2D | 0x01},
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
