#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "table/timing_grid.h"

namespace qz::test {

// The grid's open cell editor, if any (a closed one may linger until it is deleted).
inline QLineEdit* openEditor(TimingGrid& grid) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QLineEdit* editor : grid.viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible()) return editor;
    return nullptr;
}

// Types into a grid cell as a user does: the cell made current, its editor opened as a
// double-click opens it, the text typed and Enter pressed. Returns whether the editor
// closed (the edit was committed); a refused editor is left open.
inline bool typeIntoCell(TimingGrid& grid, int row, int column, const QString& text) {
    grid.setCurrentCell(row, column);
    grid.editItem(grid.item(row, column));
    QLineEdit* editor = openEditor(grid);
    if (!editor) return false;
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor hands its text over through the event loop
    return !grid.editing();
}

}  // namespace qz::test
