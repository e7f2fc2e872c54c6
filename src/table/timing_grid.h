#pragma once

#include <QColor>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTableWidget>

namespace qz {

// A rectangle of cells, corners ordered: top <= bottom and left <= right.
struct CellBlock {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool operator==(const CellBlock&) const = default;
};

// The grid of a timing table: cells addressed (row, column) from (0, 0), where row 0 and
// column 0 are fixed header cells the user cannot edit. Data cells are edited in place: a
// double-click, F2 or typing opens the editor; the typed text is offered for validation
// before it is committed, and a refused text stays in the open editor. As in a spreadsheet,
// Enter confirms the typed text and moves down (Shift+Enter up), Tab and Shift+Tab confirm
// and move right and left, and Ctrl+Enter confirms it for the whole selection.
class TimingGrid : public QTableWidget {
    Q_OBJECT
  public:
    TimingGrid(const QString& name, QWidget* parent);

    void setSize(int rows, int columns);
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // The number the cell's text stands for, by the leading-number rule; a number too large
    // for a double (pasted "1e400") counts as none, 0.
    double cellValue(int row, int column) const;

    // Block text: the cells' texts row by row, a tab between cells, a carriage return
    // between rows.
    QString blockText(const CellBlock& block) const;
    // Filling writes the texts from the block's top left corner on, within the block: a text
    // with fewer cells fills what it has, one with more has its extra cells dropped.
    void fillBlock(const CellBlock& block, const QString& text);
    // The selected block, or the current cell alone.
    CellBlock selection() const;
    void selectBlock(const CellBlock& block);

    // One cell's own colours, which stay until changed.
    void setCellColours(int row, int column, const QColor& background, const QColor& text);
    QColor cellBackground(int row, int column) const;
    QColor normalText() const { return palette().color(QPalette::Text); }
    QColor selectionBackground() const { return palette().color(QPalette::Highlight); }
    QColor selectionText() const { return palette().color(QPalette::HighlightedText); }

    // Whether a cell's editor is open.
    bool editing() const { return state() == QAbstractItemView::EditingState; }
    // Commits an open cell editor as Enter does, its text validated first. False when the
    // text was refused: the editor then stays open with its text, as after Enter.
    bool commitOpenEditor();
    // The text in the open editor (empty when none is open).
    QString editorText() const { return editorText_; }
    // Whether the edit being committed was confirmed with Ctrl+Enter, for every selected cell.
    bool committingForSelection() const { return exit_ == EditorExit::Selection; }

    // The columns share `totalPixels` of width and the rows `pixels` of height each, but no
    // column is narrower than its texts and no row lower than a line: the header column takes
    // what its labels need, the data columns share the rest, and a grid too small for that
    // scrolls rather than letting its texts overlap.
    void fitColumns(int totalPixels);
    void fitRows(int pixels);
    // The height that shows every row at its lowest without scrolling.
    int neededHeight() const;

  signals:
    void mouseClicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void currentCellAboutToMove(int oldRow, int oldColumn, int newRow, int newColumn, bool* cancel);
    void currentCellMoved(int oldRow, int oldColumn, int newRow, int newColumn);
    // An edit about to be committed; setting *cancel keeps the editor open with its text.
    void editAboutToCommit(int row, int column, bool* cancel);
    void editCommitted(int row, int column);
    // Ctrl+C and Ctrl+V while the grid has the focus.
    void copyKeyed();
    void pasteKeyed();
    // + or - (with Ctrl: coarse) that no shortcut took; they never start typing in a cell (nor
    // does Delete: a timing cell is never empty).
    void stepKeyed(bool up, bool coarse);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    class CellDelegate;
    // The key that closed the cell editor, and so where the current cell goes after it.
    enum class EditorExit { Stay, Down, Up, Right, Left, Selection };
    void moveAfterEdit(EditorExit exit, int row, int column);
    EditorExit exit_ = EditorExit::Stay;
    QString editorText_;
    // The cell editor open now and the cell it edits, which need not be the current cell
    // when the program moves the current cell itself.
    QPointer<QWidget> editor_;
    QPersistentModelIndex editorCell_;
    bool validating_ = false;  // a refusal's message box takes the focus meanwhile
    bool refused_ = false;     // until the editor that was refused is kept open
    // A refusal in this very event: a press that takes the focus from a refused editor
    // commits it before the press arrives, and is not to ask a second time.
    bool refusedJustNow_ = false;
    bool restoring_ = false;
};

}  // namespace qz
