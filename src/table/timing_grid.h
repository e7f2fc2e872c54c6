#pragma once

#include <QString>
#include <QTableWidget>

namespace qz {

// The grid of a timing table: cells addressed (row, column) from (0, 0), where row 0 and
// column 0 are fixed header cells the user cannot edit. Each cell has a display text.
class TimingGrid : public QTableWidget {
    Q_OBJECT
  public:
    TimingGrid(const QString& name, QWidget* parent);

    void setSize(int rows, int columns);
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

    // Every column gets the same width and every row the same height, in pixels.
    void setAllColumnWidths(int pixels);
    void setAllRowHeights(int pixels);
};

}  // namespace qz
