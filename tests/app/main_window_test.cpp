#include "app/main_window.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTest>

#include "support/main_window_fixture.h"
#include "support/scripted_port.h"

namespace qz {
namespace {

using test::MainWindowFixture;

// The program's menus are reached with access keys only: a shortcut would fire behind a
// transfer's back or while a grid cell is being typed.
TEST(MainWindow, MenusHaveAccessKeysAndNoShortcuts) {
    MainWindowFixture f;
    QStringList bar;
    for (const QAction* menu : f.window->menuBar()->actions()) bar << menu->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Edit", "&Communications", "&Help"}));
    for (const QAction* action : f.window->findChildren<QAction*>())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
}

TEST(MainWindow, StartUpBringsTheProgramIntoItsInitialState) {
    QGuiApplication::clipboard()->setText("left over");
    ProgramState dirty;
    MainWindowFixture f;
    EXPECT_EQ(f.caption(), "Kelvane Tunewell QZ Version 1.5");
    EXPECT_EQ(f.state.AppTitle, "Tunewell QZ Version 1.5");
    EXPECT_TRUE(f.state.BufferEmpty);
    EXPECT_EQ(f.state.ModuleType, "QZ-1");
    EXPECT_EQ(f.state.FirmwareID, "");
    EXPECT_EQ(f.state.BufferStatus, "");
    EXPECT_FALSE(f.state.UserAbort);
    EXPECT_EQ(static_cast<ParameterVariables&>(f.state), ParameterVariables{});
    EXPECT_EQ(QCoreApplication::applicationName(), "Tunewell_QZ_Main");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
    EXPECT_TRUE(f.window->mnuNewTable->isEnabled());
    for (QAction* disabled :
         {f.window->mnuEditTimingTable, f.window->mnuSaveTbl, f.window->mnuCloseTbl,
          f.window->mnuPopUpPaste2D, f.window->mnuPopUpPaste3D})
        EXPECT_FALSE(disabled->isEnabled()) << disabled->objectName().toStdString();
    for (QAction* enabled : {f.window->mnuOpenFile, f.window->mnuSaveFile, f.window->mnuDownload,
                             f.window->mnuUpload, f.window->mnuEditModParams, f.window->mnuAbout})
        EXPECT_TRUE(enabled->isEnabled()) << enabled->objectName().toStdString();
    EXPECT_FALSE(f.window->fraProgress1->isVisibleTo(f.window.get()));
    EXPECT_FALSE(f.window->fraPortSelect->isVisibleTo(f.window.get()));
    EXPECT_EQ(f.window->fraPortSelect->title(), "Data Port Setup");
    EXPECT_EQ(f.window->fraProgress1->title(), "Programming");
    EXPECT_TRUE(f.prompts.shown().empty());
}

TEST(MainWindow, AnEmptyCompanyListIsReportedAtStartUp) {
    test::ScriptedPrompts prompts;
    prompts.answer(PromptAnswer::Ignore);
    ProgramState state;
    test::ProgramFolder folder;
    frmTunewell_Main window(state, prompts, folder.path());
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].text, "Invalid procedure call or argument");
    EXPECT_EQ(window.windowTitle(), "Tunewell QZ Version 1.5");
    EXPECT_EQ(state.ModuleType, "QZ-1") << "Ignore went on with start-up";
}

TEST(MainWindow, EscSetsUserAbortAndHidesTheValueLabels) {
    MainWindowFixture f;
    f.openTable2D();
    f.window->views().chart2D().setValueLabelVisible(true);
    f.window->views().chart3D().setValueLabelVisible(true);
    QTest::keyClick(&f.window->views().grid2D(), Qt::Key_Escape);
    EXPECT_TRUE(f.state.UserAbort);
    EXPECT_FALSE(f.window->views().chart2D().valueLabelVisible());
    EXPECT_FALSE(f.window->views().chart3D().valueLabelVisible());
    EXPECT_TRUE(f.window->views().tableOpen()) << "Esc does not close the table";
}

TEST(MainWindow, AboutShowsTheCompanyBlock) {
    MainWindowFixture f({"Acme"});
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuAbout->trigger();
    ASSERT_EQ(f.prompts.shown().size(), 1u);
    const auto& about = f.prompts.shown()[0];
    EXPECT_EQ(about.text,
              "Acme Tunewell QZ Version 1.50\nWritten by the Tunewell QZ development team.\n\n");
    EXPECT_EQ(about.icon, PromptIcon::Information);
    EXPECT_EQ(about.buttons, PromptButtons::OK);
    EXPECT_EQ(about.title, "About");
}

// Charts above, grids below; a low window leaves no room for the grids.
TEST(MainWindow, ResizingLaysOutChartsAndGrids) {
    MainWindowFixture f;
    f.window->show();
    TableViews& views = f.window->views();
    for (const QSize size : {QSize(1000, 700), QSize(640, 180)}) {
        f.window->resize(size);
        QCoreApplication::processEvents();
        const QSize inner = f.window->centralWidget()->size();
        EXPECT_EQ(views.chart3D().width(), inner.width());
        EXPECT_NEAR(views.chart3D().height(), 0.7 * inner.height(), 1);
        EXPECT_EQ(views.grid3D().y(), views.chart3D().height());
        EXPECT_NEAR(views.grid3D().width(), inner.width() - 150 * f.window->logicalDpiX() / 1440.0,
                    1);
        EXPECT_EQ(views.grid2D().geometry(), views.grid3D().geometry());
    }
    EXPECT_EQ(views.grid2D().height(), 0) << "no room left for the grids";
    const int columnWidth = views.grid3D().columnWidth(5);
    f.window->resize(1200, 800);
    QCoreApplication::processEvents();
    EXPECT_GT(views.grid3D().columnWidth(5), columnWidth) << "columns follow the grid";
}

TEST(MainWindow, HelpOpensAtItsTableOfContents) {
    MainWindowFixture f;
    f.window->mnuHelpContents->trigger();
    ASSERT_NE(f.window->helpViewer(), nullptr);
    EXPECT_TRUE(f.window->helpViewer()->isVisible());
    EXPECT_TRUE(f.window->helpViewer()->browser()->source().path().endsWith("help/index.html"));
    EXPECT_TRUE(f.window->helpViewer()->browser()->toPlainText().contains("Contents"));
    f.window->helpViewer()->close();
}

TEST(MainWindow, ClosingAsksAboutAnOpenTableOnly) {
    MainWindowFixture quiet;
    quiet.state.BufferEmpty = false;  // an unsaved image is not asked about
    quiet.window->show();
    EXPECT_TRUE(quiet.window->close());
    EXPECT_TRUE(quiet.prompts.shown().empty());

    const struct {
        PromptAnswer answer;
        bool closed;
        bool saved;
    } cases[] = {
        {PromptAnswer::Yes, true, true},
        {PromptAnswer::No, true, false},
        {PromptAnswer::Cancel, false, false},
    };
    for (const auto& c : cases) {
        MainWindowFixture f;
        auto port = std::make_unique<test::ScriptedPort>(ModuleSimulator(demoTune(), "QZ-1"));
        test::ScriptedPort& scripted = *port;
        f.window->transfers().usePort(std::move(port));
        scripted.open();
        f.state.Table2DEnabled = true;
        f.openTable2D();
        f.prompts.answer(c.answer);
        EXPECT_EQ(f.window->close(), c.closed);
        EXPECT_FALSE(scripted.isOpen()) << "the port is closed whatever the answer";
        const auto& question = f.prompts.shown().at(0);
        EXPECT_EQ(question.text, "Save timing table before exiting?");
        EXPECT_EQ(question.buttons, PromptButtons::YesNoCancel);
        EXPECT_EQ(question.icon, PromptIcon::Exclamation);
        EXPECT_EQ(question.title, "Exit Program");
        EXPECT_EQ(f.window->isVisible(), !c.closed);
        EXPECT_EQ(f.state.EEPROMBuffer[16] != 0, c.saved);
    }
}

}  // namespace
}  // namespace qz
