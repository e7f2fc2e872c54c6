#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "support/main_window_fixture.h"
#include "support/transfer_fixture.h"

namespace qz {
namespace {

using test::MainWindowFixture;

// The program's own menu items are reached with access keys only: a shortcut would fire
// behind a transfer's back or while a grid cell is being typed. The table editor's keyboard
// commands, which act only on an open table, show their keys in the Edit menu and the grids'.
TEST(MainWindow, MenusHaveAccessKeysAndOnlyTheTableCommandsShortcuts) {
    MainWindowFixture f;
    QStringList bar;
    for (const QAction* menu : f.window->menuBar()->actions()) bar << menu->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Edit", "&Communications", "&Help"}));
    QStringList shortcuts;
    for (const QAction* action : f.window->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            shortcuts << action->objectName() + " " + action->shortcut().toString();
    shortcuts.sort();
    EXPECT_EQ(shortcuts.join(", "),
              "mnuInterpolate Ctrl+I, mnuRedo Ctrl+Y, mnuSmooth Ctrl+M, mnuStepDown -, "
              "mnuStepDownCoarse Ctrl+-, mnuStepUp +, mnuStepUpCoarse Ctrl++, mnuUndo Ctrl+Z");
    const auto texts = [](const QMenu* menu) {
        QStringList items;
        for (const QAction* action : menu->actions()) items << action->text();
        return items;
    };
    EXPECT_EQ(texts(f.window->mnuEdit),
              QStringList({"Edit &Module Parameters", "Edit &GPIO Parameters", "Edit &Timing Table",
                           "Save Timing Table Edits To Buffer", "Close Timing Table", "", "&Undo",
                           "&Redo", "Step U&p", "Step &Down", "&Interpolate", "Smoot&h",
                           "Step Si&zes..."}));
    for (const QMenu* popUp : {f.window->mnuPopUpEdit2D, f.window->mnuPopUpEdit3D})
        EXPECT_EQ(texts(popUp), QStringList({"Copy", "Paste", "Modify", "", "&Undo", "&Redo",
                                             "&Interpolate", "Smoot&h"}));
}

TEST(MainWindow, StartUpBringsTheProgramIntoItsInitialState) {
    QGuiApplication::clipboard()->setText("left over");
    MainWindowFixture f;
    EXPECT_EQ(f.caption(), "Kelvane Tunewell QZ Version 1.5");
    EXPECT_EQ(std::tuple(f.state.AppTitle, f.state.BufferEmpty, f.state.ModuleType,
                         f.state.FirmwareID, f.state.BufferStatus, f.state.UserAbort),
              std::tuple(std::string("Tunewell QZ Version 1.5"), true, std::string("QZ-1"),
                         std::string(), std::string(), false));
    EXPECT_EQ(static_cast<ParameterVariables&>(f.state), ParameterVariables{});
    EXPECT_EQ(QCoreApplication::applicationName(), "Tunewell_QZ_Main");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
    const frmTunewell_Main& w = *f.window;
    std::string enabled;
    for (const QAction* a : {w.mnuNewTable, w.mnuEditTimingTable, w.mnuSaveTbl, w.mnuCloseTbl,
                             w.mnuPopUpPaste2D, w.mnuPopUpPaste3D, w.mnuOpenFile, w.mnuSaveFile,
                             w.mnuDownload, w.mnuUpload, w.mnuEditModParams, w.mnuAbout})
        enabled += a->isEnabled() ? '1' : '0';
    EXPECT_EQ(enabled, "100000111111");
    for (const auto& [frame, title] : {std::pair{f.window->fraProgress1, "Programming"},
                                       {f.window->fraPortSelect, "Data Port Setup"}})
        EXPECT_EQ(std::pair(frame->isVisibleTo(f.window.get()), frame->title()),
                  std::pair(false, QString(title)));
    EXPECT_TRUE(f.prompts.shown().empty());
    MainWindowFixture empty({}, {PromptAnswer::Ignore});  // no company list
    EXPECT_EQ(empty.prompts.messages(),
              std::vector<std::string>{"Invalid procedure call or argument"});
    EXPECT_EQ(std::pair(empty.caption(), empty.state.ModuleType),
              std::pair(std::string("Tunewell QZ Version 1.5"), std::string("QZ-1")))
        << "Ignore went on with start-up";
}

TEST(MainWindow, EscSetsUserAbortAndHidesTheValueLabels) {
    test::OpenTableFixture f(test::k2D);
    f.chart2D().setValueLabelVisible(true);
    f.chart3D().setValueLabelVisible(true);
    QTest::keyClick(&f.grid(), Qt::Key_Escape);
    EXPECT_EQ(std::tuple(f.state.UserAbort, f.chart2D().valueLabelVisible(),
                         f.chart3D().valueLabelVisible(), f.editor().tableOpen()),
              std::tuple(true, false, false, true))
        << "Esc does not close the table";
}

// Charts above, grids below; a low window gives the grid what it needs from the chart, and a
// grid still too small scrolls: no row is ever lower than a line of text.
TEST(MainWindow, ResizingLaysOutChartsAndGrids) {
    MainWindowFixture f;
    f.window->show();
    const TimingGrid& grid = f.grid(TableKind::Table3D);
    const TimingChart& chart = f.chart3D();
    for (const auto& [size, chartShare] :
         {std::pair{QSize(1000, 700), 0.7}, {QSize(640, 180), 0.5}}) {
        f.window->resize(size);
        QCoreApplication::processEvents();
        const QSize inner = f.window->centralWidget()->size();
        EXPECT_EQ(chart.width(), inner.width());
        EXPECT_NEAR(chart.height(), chartShare * inner.height(), 1);
        EXPECT_GE(grid.rowHeight(8), grid.fontMetrics().height());
        EXPECT_EQ(grid.y(), chart.height());
        EXPECT_NEAR(grid.width(), inner.width() - 150 * f.window->logicalDpiX() / 1440.0, 1);
        EXPECT_EQ(f.grid(TableKind::Table2D).geometry(), grid.geometry());
    }
    const int columnWidth = grid.columnWidth(5);
    f.window->resize(1200, 800);
    QCoreApplication::processEvents();
    EXPECT_GT(grid.columnWidth(5), columnWidth) << "columns follow the grid";
    EXPECT_GE(grid.columnWidth(0), grid.fontMetrics().horizontalAdvance("MAP/RPM"))
        << "the corner header fits";
}

TEST(MainWindow, HelpOpensAtItsTableOfContents) {
    MainWindowFixture f;
    f.window->mnuHelpContents->trigger();
    ASSERT_NE(f.window->helpViewer(), nullptr);
    EXPECT_TRUE(f.window->helpViewer()->isVisible());
    EXPECT_TRUE(f.window->helpViewer()->browser()->source().path().endsWith("help/index.html"));
    EXPECT_TRUE(f.window->helpViewer()->browser()->toPlainText().contains("Contents"));
    // Its pictures fit the window, however narrow.
    QTextBrowser& browser = *f.window->helpViewer()->browser();
    f.window->helpViewer()->resize(420, 600);
    QDir(f.folder.path()).mkpath("help/screenshots");
    for (const char* picture : {"table_3d_editing.png", "table_2d.png", "drag_2d.png"})
        QFile::copy(QStringLiteral(QZ_RESOURCES_DIR "/../docs/screenshots/") + picture,
                    f.folder.path() + "/help/screenshots/" + picture);
    browser.setSource(QUrl::fromLocalFile(f.folder.path() + "/help/table_editor.html"));
    int pictures = 0;
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
                image.isValid()) {
                const QVariant resource =
                    browser.document()->resource(QTextDocument::ImageResource, image.name());
                QImage shown = resource.value<QImage>();
                if (shown.isNull()) shown.loadFromData(resource.toByteArray());
                EXPECT_FALSE(shown.isNull());
                EXPECT_LE(shown.width(), browser.viewport()->width()) << image.name().toStdString();
                ++pictures;
            }
    EXPECT_EQ(pictures, 3);
    f.window->helpViewer()->close();
}

// The status bar names the buffer's file and says when the buffer holds changes that are in
// no file, and after a transfer, until a change, that the module holds the buffer.
TEST(MainWindow, TheStatusBarSaysWhereTheBufferIsSaved) {
    test::TransferFixture f;
    f.window->show();
    const QLabel& status = test::named<QLabel>(*f.window, "lblStatusBuffer");
    const auto shows = [&](const char* text) { return status.text().contains(text); };
    QString whileLoaded;
    f.prompts.onMessage = [&](const test::ShownPrompt&) { whileLoaded = status.text(); };
    f.prompts.answer(PromptAnswer::OK);
    f.window->openDataFile(f.folder.write("tune.dat", test::tuneFile(test::k2D)));
    f.prompts.onMessage = nullptr;
    EXPECT_EQ(whileLoaded, "tune.dat  |  trigger timing 30 deg  |  2D table");
    EXPECT_EQ(f.prompts.shown().back().text.substr(0, 7), "Loaded ") << "as Open File, no dialog";
    f.window->mnuEditTimingTable->trigger();
    EXPECT_TRUE(test::typeIntoCell(f.grid(TableKind::Table2D), 1, 3, "12"));
    EXPECT_FALSE(shows("not saved")) << "the edits are not in the buffer yet";
    f.window->mnuSaveTbl->trigger();
    EXPECT_EQ(status.text(), "tune.dat - not saved  |  trigger timing 30 deg  |  2D table");
    f.prompts.answerFile(f.folder.path("saved.dat"));
    f.window->mnuSaveFile->trigger();
    EXPECT_EQ(status.text(), "saved.dat  |  trigger timing 30 deg  |  2D table");
    f.answer({PromptAnswer::OK, PromptAnswer::OK, PromptAnswer::OK});
    f.window->mnuDownload->trigger();
    EXPECT_TRUE(shows("module = buffer")) << status.text().toStdString();
    f.editor().editTable();
    f.editor().writeCells(TableKind::Table3D, {{1, 1, 3.0}}, "x");
    EXPECT_FALSE(shows("module = buffer"));
    f.editor().undoStack().undo();
    EXPECT_TRUE(shows("module = buffer"));
    f.state.CrankPulses = 9;
    f.window->mnuPortSetup->trigger();  // any command shows the status anew
    EXPECT_FALSE(shows("module = buffer"));
    f.answer({PromptAnswer::No, PromptAnswer::OK, PromptAnswer::OK});
    f.editor().closeTable();
    f.window->mnuUpload->trigger();
    EXPECT_TRUE(shows("module = buffer"));
}

}  // namespace
}  // namespace qz
