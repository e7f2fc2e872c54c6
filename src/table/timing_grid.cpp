#include "table/timing_grid.h"

#include <QHeaderView>

namespace qz {

TimingGrid::TimingGrid(const QString& name, QWidget* parent) : QTableWidget(parent) {
    setObjectName(name);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setToolTip(QStringLiteral("Click to select or double click to edit cell"));
}

void TimingGrid::setSize(int rows, int columns) {
    setRowCount(rows);
    setColumnCount(columns);
    const QColor headerBackground = palette().color(QPalette::Button);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            if (row == 0 || column == 0) {
                cell->setFlags(Qt::ItemIsEnabled);
                cell->setBackground(headerBackground);
                QFont bold = font();
                bold.setBold(true);
                cell->setFont(bold);
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

void TimingGrid::setAllColumnWidths(int pixels) {
    for (int column = 0; column < columnCount(); ++column) setColumnWidth(column, pixels);
}

void TimingGrid::setAllRowHeights(int pixels) {
    for (int row = 0; row < rowCount(); ++row) setRowHeight(row, pixels);
}

}  // namespace qz
