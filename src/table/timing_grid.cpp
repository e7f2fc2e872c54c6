#include "table/timing_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <algorithm>

#include "core/leading_number.h"

namespace qz {

TimingGrid::TimingGrid(const QString& name, QWidget* parent) : QTableWidget(parent) {
    setObjectName(name);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setToolTip(QStringLiteral("Click to select or double click to edit cell"));
    // Narrow columns show "10000" and "MAP/RPM" cut at the edge rather than as "100...".
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
}

void TimingGrid::setSize(int rows, int columns) {
    setRowCount(rows);
    setColumnCount(columns);
    const QColor headerBackground = palette().color(QPalette::Button);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto* cell = new QTableWidgetItem;
            if (row == 0 || column == 0) {
                cell->setTextAlignment(Qt::AlignCenter);
                cell->setFlags(Qt::ItemIsEnabled);
                cell->setBackground(headerBackground);
                QFont header = font();
                header.setBold(true);
                header.setPointSizeF(header.pointSizeF() * 0.9);
                cell->setFont(header);
            } else {
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            setItem(row, column, cell);
        }
    }
}

QString TimingGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TimingGrid::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column)) cell->setText(text);
}

double TimingGrid::cellValue(int row, int column) const {
    return leadingNumber(cellText(row, column).toStdString());
}

QString TimingGrid::blockText(const CellBlock& block) const {
    QStringList rows;
    for (int row = block.top; row <= block.bottom; ++row) {
        QStringList cells;
        for (int column = block.left; column <= block.right; ++column)
            cells << cellText(row, column);
        rows << cells.join(u'\t');
    }
    return rows.join(u'\r');
}

void TimingGrid::fillBlock(int top, int left, const QString& text) {
    const QStringList rows = text.split(u'\r');
    for (int r = 0; r < rows.size() && top + r < rowCount(); ++r) {
        const QStringList cells = rows[r].split(u'\t');
        for (int c = 0; c < cells.size() && left + c < columnCount(); ++c)
            setCellText(top + r, left + c, cells[c]);
    }
}

void TimingGrid::fillBlock(const CellBlock& block, const QString& text) {
    const QStringList rows = text.split(u'\r');
    for (int r = 0; r < rows.size() && block.top + r <= block.bottom; ++r) {
        const QStringList cells = rows[r].split(u'\t');
        for (int c = 0; c < cells.size() && block.left + c <= block.right; ++c)
            setCellText(block.top + r, block.left + c, cells[c]);
    }
}

CellBlock TimingGrid::selection() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return {currentRow(), currentColumn(), currentRow(), currentColumn()};
    const QTableWidgetSelectionRange& range = ranges.front();
    return {range.topRow(), range.leftColumn(), range.bottomRow(), range.rightColumn()};
}

void TimingGrid::selectBlock(const CellBlock& block) {
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(
                         std::min(block.top, block.bottom), std::min(block.left, block.right),
                         std::max(block.top, block.bottom), std::max(block.left, block.right)),
                     true);
}

void TimingGrid::setCellColours(int row, int column, const QColor& background, const QColor& text) {
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setBackground(background);
        cell->setForeground(text);
    }
}

QColor TimingGrid::cellBackground(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->background().color() : QColor();
}

void TimingGrid::setAllColumnWidths(int pixels) {
    for (int column = 0; column < columnCount(); ++column) setColumnWidth(column, pixels);
}

void TimingGrid::setAllRowHeights(int pixels) {
    for (int row = 0; row < rowCount(); ++row) setRowHeight(row, pixels);
}

void TimingGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    emit mouseClicked(event->button(), event->modifiers(), event->position().toPoint());
}

void TimingGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) return emit copyKeyed();
    if (event->matches(QKeySequence::Paste)) return emit pasteKeyed();
    if (event->key() == Qt::Key_I && event->modifiers() == Qt::ControlModifier)
        return emit interpolateKeyed();
    QTableWidget::keyPressEvent(event);
}

// A refused edit keeps the current cell where the editor is.
void TimingGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (restoring_) return QTableWidget::currentChanged(current, previous);
    bool cancel = false;
    if (previous.isValid() && current.isValid())
        emit currentCellAboutToMove(previous.row(), previous.column(), current.row(),
                                    current.column(), &cancel);
    refusedOnMove_ = false;
    QTableWidget::currentChanged(current, previous);
    if (cancel || refusedOnMove_) {
        restoring_ = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        restoring_ = false;
        return;
    }
    emit currentCellMoved(previous.isValid() ? previous.row() : -1,
                          previous.isValid() ? previous.column() : -1, current.row(),
                          current.column());
}

void TimingGrid::commitData(QWidget* editor) {
    if (validating_) return;
    const QModelIndex index = currentIndex();
    auto* line = qobject_cast<QLineEdit*>(editor);
    editorText_ = line ? line->text() : QString();
    bool cancel = false;
    validating_ = true;
    emit editAboutToCommit(index.row(), index.column(), &cancel);
    validating_ = false;
    if (cancel) {
        refused_ = refusedOnMove_ = true;
        return;
    }
    QTableWidget::commitData(editor);
    editorText_.clear();
    emit editCommitted(index.row(), index.column());
}

void TimingGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (validating_) return;  // the refusal's message box took the focus
    if (refused_) {
        refused_ = false;
        editor->setFocus();
        return;
    }
    editorText_.clear();
    QTableWidget::closeEditor(editor, hint);
}

}  // namespace qz
