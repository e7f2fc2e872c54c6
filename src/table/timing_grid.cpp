#include "table/timing_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/leading_number.h"

namespace qz {

// Remembers the cell each editor it makes belongs to.
class TimingGrid::CellDelegate : public QStyledItemDelegate {
  public:
    explicit CellDelegate(TimingGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        grid_->editor_ = editor;
        grid_->editorCell_ = index;
        return editor;
    }
    // The key that confirms the editor decides where the current cell goes afterwards.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
            switch (key->key()) {
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    grid_->exit_ = mods & Qt::ControlModifier ? EditorExit::Selection
                                   : mods & Qt::ShiftModifier ? EditorExit::Up
                                                              : EditorExit::Down;
                    break;
                case Qt::Key_Tab:
                    grid_->exit_ = EditorExit::Right;
                    break;
                case Qt::Key_Backtab:
                    grid_->exit_ = EditorExit::Left;
                    break;
                default:
                    break;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

  private:
    TimingGrid* grid_;
};

TimingGrid::TimingGrid(const QString& name, QWidget* parent) : QTableWidget(parent) {
    setObjectName(name);
    setItemDelegate(new CellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setToolTip(QStringLiteral("Click to select or double click to edit cell"));
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
    const double value = leadingNumber(cellText(row, column).toStdString());
    return std::isfinite(value) ? value : 0;  // "1e400" is no number a table can hold
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

namespace {

constexpr int kTextPadding = 4;

// The widest text of the given columns, each cell in its own font.
int widestText(const QTableWidget& grid, int firstColumn, int lastColumn) {
    int widest = 0;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            if (const QTableWidgetItem* cell = grid.item(row, column))
                widest =
                    std::max(widest, QFontMetrics(cell->font()).horizontalAdvance(cell->text()));
    return widest + kTextPadding;
}

}  // namespace

void TimingGrid::fitColumns(int totalPixels) {
    if (columnCount() < 2) return;
    const int dataColumns = columnCount() - 1;
    const int header = std::max(totalPixels / columnCount(), widestText(*this, 0, 0));
    const int data =
        std::max((totalPixels - header) / dataColumns, widestText(*this, 1, dataColumns));
    setColumnWidth(0, header);
    for (int column = 1; column <= dataColumns; ++column) setColumnWidth(column, data);
}

void TimingGrid::fitRows(int pixels) {
    const int line = fontMetrics().height();
    for (int row = 0; row < rowCount(); ++row) setRowHeight(row, std::max(pixels, line));
}

int TimingGrid::neededHeight() const {
    return rowCount() * fontMetrics().height() + 2 * frameWidth();
}

void TimingGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    emit mouseClicked(event->button(), event->modifiers(), event->position().toPoint());
}

void TimingGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) return emit copyKeyed();
    if (event->matches(QKeySequence::Paste)) return emit pasteKeyed();
    if (!editing()) {
        const bool coarse = event->modifiers() & Qt::ControlModifier;
        switch (event->key()) {
            case Qt::Key_Plus:
                return emit stepKeyed(true, coarse);
            case Qt::Key_Minus:
                return emit stepKeyed(false, coarse);
            case Qt::Key_Return:
            case Qt::Key_Enter:
                return moveAfterEdit(
                    event->modifiers() & Qt::ShiftModifier ? EditorExit::Up : EditorExit::Down,
                    currentRow(), currentColumn());
            default:
                break;
        }
    }
    QTableWidget::keyPressEvent(event);
}

// One cell on, within the data cells; the selection becomes that cell.
void TimingGrid::moveAfterEdit(EditorExit exit, int row, int column) {
    if (row < 1 || column < 1) return;
    switch (exit) {
        case EditorExit::Down:
            row = std::min(row + 1, rowCount() - 1);
            break;
        case EditorExit::Up:
            row = std::max(row - 1, 1);
            break;
        case EditorExit::Right:
            column = std::min(column + 1, columnCount() - 1);
            break;
        case EditorExit::Left:
            column = std::max(column - 1, 1);
            break;
        case EditorExit::Stay:
        case EditorExit::Selection:
            return;
    }
    setCurrentCell(row, column);
}

// Leaving a cell whose editor is open commits the editor first, whoever moves the current
// cell; a refused text keeps the editor, and the current cell, where they are.
void TimingGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (restoring_) return QTableWidget::currentChanged(current, previous);
    bool cancel = editor_ && editorCell_ == previous && !commitOpenEditor();
    if (!cancel && previous.isValid() && current.isValid())
        emit currentCellAboutToMove(previous.row(), previous.column(), current.row(),
                                    current.column(), &cancel);
    if (cancel) {
        restoring_ = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        restoring_ = false;
        return;
    }
    QTableWidget::currentChanged(current, previous);
    emit currentCellMoved(previous.isValid() ? previous.row() : -1,
                          previous.isValid() ? previous.column() : -1, current.row(),
                          current.column());
}

bool TimingGrid::commitOpenEditor() {
    if (!editor_ || !editing()) return true;
    if (refusedJustNow_) return false;
    QWidget* editor = editor_;
    commitData(editor);
    if (refused_) {
        refused_ = false;
        editor->setFocus();
        return false;
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

// The text goes to the cell the editor was opened on, which the program may have moved
// away from meanwhile.
void TimingGrid::commitData(QWidget* editor) {
    if (validating_) return;
    const QModelIndex index = editor == editor_ ? QModelIndex(editorCell_) : currentIndex();
    auto* line = qobject_cast<QLineEdit*>(editor);
    editorText_ = line ? line->text() : QString();
    bool cancel = false;
    validating_ = true;
    emit editAboutToCommit(index.row(), index.column(), &cancel);
    validating_ = false;
    if (cancel) {
        refused_ = true;
        refusedJustNow_ = true;
        QTimer::singleShot(0, this, [this] { refusedJustNow_ = false; });
        return;
    }
    QTableWidget::commitData(editor);
    editorText_.clear();
    emit editCommitted(index.row(), index.column());
}

// A key that confirmed the editor moves the current cell as that key says; the program
// closing it (no hint) and Esc leave the current cell where it is.
void TimingGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (validating_) return;  // the refusal's message box took the focus
    const EditorExit exit = std::exchange(exit_, EditorExit::Stay);
    if (refused_) {
        refused_ = false;
        editor->setFocus();
        return;
    }
    editorText_.clear();
    const QModelIndex cell = editor == editor_ ? QModelIndex(editorCell_) : currentIndex();
    if (editor == editor_) {
        editor_ = nullptr;
        editorCell_ = QPersistentModelIndex();
    }
    const bool confirmedByKey = hint == QAbstractItemDelegate::SubmitModelCache ||
                                hint == QAbstractItemDelegate::EditNextItem ||
                                hint == QAbstractItemDelegate::EditPreviousItem;
    // The moves are the grid's own: Tab does not open the next cell's editor.
    QTableWidget::closeEditor(editor, confirmedByKey ? QAbstractItemDelegate::NoHint : hint);
    if (confirmedByKey) moveAfterEdit(exit, cell.row(), cell.column());
}

}  // namespace qz
