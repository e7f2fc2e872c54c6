#include "app/qt_prompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace qz {
namespace {

TEST(QtFileFilter, TurnsDisplayAndPatternPairsIntoQtFilters) {
    EXPECT_EQ(qtFileFilter("QZ-1 data files (*.dat)|*.dat"), "QZ-1 data files (*.dat)");
    EXPECT_EQ(qtFileFilter("All Files (*.*)|*.*"), "All Files (*)");
    EXPECT_EQ(qtFileFilter("Tunes|*.dat;*.bin|All Files (*.*)|*.*"),
              "Tunes (*.dat *.bin);;All Files (*)");
}

// Never the program's own folder, which an installed program cannot write to.
TEST(QtPrompts, FileDialogsOpenInTheFolderLastUsedOrElseTheUsersDocuments) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    // The folder remembered in the settings, and where the dialog starts.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Tunewell",
                       "Tunewell_QZ_Main");
    for (const auto& [remembered, start] : {std::pair{QDir::tempPath(), QDir::tempPath()},
                                            {QStringLiteral("/no/such/folder"), fallback},
                                            {QString(), fallback}}) {
        settings.setValue("Files/LastFolder", remembered);
        settings.sync();
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = dialog->directory().absolutePath();
            dialog->reject();
        });
        EXPECT_EQ(QtPrompts().openFileName("Open File", "All Files (*.*)|*.*"), "");
        EXPECT_EQ(shown, start);
    }
    settings.remove("Files/LastFolder");
}

// A short text must not cut the title; a transfer's busy cursor gives way to the arrow over
// the box; the detail goes under "Show Details...".
TEST(QtPrompts, AMessageBoxIsWideEnoughForItsTitleAndShowsTheArrow) {
    const QString title = QStringLiteral("Save Table Edits To Buffer");
    int width = 0;
    QString detail;
    Qt::CursorShape cursor = Qt::BlankCursor;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        width = box->width();
        detail = box->detailedText();
        cursor = QApplication::overrideCursor()->shape();
        box->accept();
    });
    QtPrompts prompts;
    prompts.message("Done.", PromptIcon::None, PromptButtons::OK, title.toStdString(),
                    "address 100: wrote 30, read 68\n");
    EXPECT_GT(width, QFontMetrics(QApplication::font()).horizontalAdvance(title));
    EXPECT_EQ(detail, "address 100: wrote 30, read 68\n");
    EXPECT_EQ(cursor, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
}

}  // namespace
}  // namespace qz
