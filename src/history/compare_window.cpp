#include "history/compare_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "image/byte_map.h"
#include "image/table_text.h"

namespace qz {
namespace {

constexpr int kChangedRole = Qt::UserRole;
constexpr int kDataRowRole = Qt::UserRole + 1;

// Changed cells are outlined, whatever their colour.
class OutlineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!index.data(kChangedRole).toBool()) return;
        painter->save();
        painter->setPen(QPen(Qt::black, 2));
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

QString kindName(TableKind kind) {
    return kind == TableKind::Table2D   ? QStringLiteral("the 2D table")
           : kind == TableKind::Table3D ? QStringLiteral("the 3D table")
                                        : QStringLiteral("no timing table");
}

QString signedAdvance(double value) {
    return QString::fromStdString(signedAdvanceText(value));
}

double cellOf(const ModuleData& data, TableKind kind, int column, int dataRow) {
    return kind == TableKind::Table2D ? data.Table2D(column, 1) : data.Table3D(column, dataRow);
}

}  // namespace

QColor differenceColour(double difference, double largest) {
    if (difference == 0 || largest <= 0) return Qt::white;
    const double share = std::min(1.0, std::abs(difference) / largest);
    const int fade = static_cast<int>(std::lround(255 * (1 - 0.75 * share)));
    return difference > 0 ? QColor(255, fade, fade) : QColor(fade, fade, 255);
}

CompareWindow::CompareWindow(const QString& title, ModuleData there, Hooks hooks, QWidget* parent)
    : QDialog(parent), there_(std::move(there)), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(title);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    QFont bold = summary_->font();
    bold.setBold(true);
    summary_->setFont(bold);
    kindLine_ = new QLabel(this);
    kindLine_->setObjectName(QStringLiteral("lblKind"));
    kindLine_->setWordWrap(true);
    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("grdCompare"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setItemDelegate(new OutlineDelegate(grid_));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    legend_ = new QLabel(this);
    legend_->setObjectName(QStringLiteral("lblLegend"));
    parameters_ = new QListWidget(this);
    parameters_->setObjectName(QStringLiteral("lstParameters"));
    takeCells_ = new QPushButton(QStringLiteral("Take Selected &Cells"), this);
    takeCells_->setObjectName(QStringLiteral("cmdTakeCells"));
    takeParameter_ = new QPushButton(QStringLiteral("Take &Parameter"), this);
    takeParameter_->setObjectName(QStringLiteral("cmdTakeParameter"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(takeCells_, QDialogButtonBox::ActionRole);
    buttons->addButton(takeParameter_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(takeCells_, &QPushButton::clicked, this, &CompareWindow::takeSelectedCells);
    connect(takeParameter_, &QPushButton::clicked, this, &CompareWindow::takeSelectedParameter);
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &CompareWindow::updateButtons);
    connect(parameters_, &QListWidget::itemSelectionChanged, this, &CompareWindow::updateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(kindLine_);
    layout->addWidget(grid_, 3);
    layout->addWidget(legend_);
    layout->addWidget(new QLabel(QStringLiteral("Parameters that differ:"), this));
    layout->addWidget(parameters_, 1);
    layout->addWidget(buttons);
    resize(1000, 560);
    refresh();
}

void CompareWindow::refresh() {
    here_ = hooks_.here();
    kind_ = selectedTable(here_);
    if (kind_ == TableKind::Disabled) kind_ = selectedTable(there_);
    if (kind_ == TableKind::Disabled) kind_ = TableKind::Table2D;
    const TuneDifference difference = compareTunes(here_, there_);
    summary_->setText(QString::fromStdString(differenceSummary(difference, here_)));
    QStringList kindLines;
    if (difference.tableKindDiffers)
        kindLines << QStringLiteral("This tune uses %1, the other uses %2.")
                         .arg(kindName(selectedTable(here_)), kindName(selectedTable(there_)));
    const TableKind hidden = kind_ == TableKind::Table2D ? TableKind::Table3D : TableKind::Table2D;
    if (const auto count = difference.cellsOf(hidden).size())
        kindLines << QStringLiteral("%1 differs in %2 cells too (not shown).")
                         .arg(hidden == TableKind::Table2D ? "The 2D table" : "The 3D table")
                         .arg(count);
    kindLine_->setText(kindLines.join(' '));
    kindLine_->setVisible(!kindLines.isEmpty());
    fillGrid(difference);
    fillParameters(difference);
    updateButtons();
}

void CompareWindow::fillGrid(const TuneDifference& difference) {
    const int rows = kind_ == TableKind::Table2D ? 1 : kPressureRows;
    grid_->clear();
    grid_->setRowCount(rows);
    grid_->setColumnCount(kRpmBreakpoints);
    QStringList rpm;
    for (int c = 1; c <= kRpmBreakpoints; ++c)
        rpm << QString::fromStdString(headerText(kind_, 0, c, here_.MAPSensorBar));
    grid_->setHorizontalHeaderLabels(rpm);
    QStringList labels;
    for (int row = 1; row <= rows; ++row)
        labels << QString::fromStdString(headerText(kind_, row, 0, here_.MAPSensorBar));
    grid_->setVerticalHeaderLabels(labels);
    double largest = 0;
    for (const auto& cell : difference.cellsOf(kind_))
        largest = std::max(largest, std::abs(cell.change()));
    for (int row = 1; row <= rows; ++row) {
        // The grid's row 1 is the lowest pressure, the last row of the table.
        const int dataRow = kind_ == TableKind::Table2D ? 1 : kPressureRows + 1 - row;
        for (int c = 1; c <= kRpmBreakpoints; ++c) {
            const double here = cellOf(here_, kind_, c, dataRow);
            const double there = cellOf(there_, kind_, c, dataRow);
            auto* item = new QTableWidgetItem(QString::fromStdString(advanceText(here)));
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(differenceColour(there - here, largest));
            item->setData(kChangedRole, here != there);
            item->setData(kDataRowRole, dataRow);
            item->setToolTip(QStringLiteral("Here %1, there %2, difference %3")
                                 .arg(QString::fromStdString(advanceText(here)),
                                      QString::fromStdString(advanceText(there)),
                                      signedAdvance(there - here)));
            grid_->setItem(row - 1, c - 1, item);
        }
    }
    const auto swatch = [&](double value) {
        return QStringLiteral("<span style=\"background-color:%1\">&nbsp;%2&nbsp;</span>")
            .arg(differenceColour(value, largest).name(), signedAdvance(value));
    };
    legend_->setText(largest == 0 ? QStringLiteral("No cell of this table differs.")
                                  : QStringLiteral("The other tune's advance minus this one's "
                                                   "(degrees): %1 %2 %3 %4 %5")
                                        .arg(swatch(-largest), swatch(-largest / 2), swatch(0),
                                             swatch(largest / 2), swatch(largest)));
}

void CompareWindow::fillParameters(const TuneDifference& difference) {
    parameters_->clear();
    for (const std::string_view variable : difference.parameters) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(parameterDifferenceText(variable, here_, there_)), parameters_);
        item->setData(Qt::UserRole, QString::fromUtf8(variable.data(), variable.size()));
    }
    for (const int address : difference.carriedBytes) {
        auto* item =
            new QListWidgetItem(QStringLiteral("Byte %1 (not interpreted): %2 here, %3 there")
                                    .arg(address)
                                    .arg(here_.EEPROMBuffer[address])
                                    .arg(there_.EEPROMBuffer[address]),
                                parameters_);
        item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
    }
}

void CompareWindow::updateButtons() {
    const auto items = grid_->selectedItems();
    takeCells_->setEnabled(std::any_of(items.begin(), items.end(), [](QTableWidgetItem* item) {
        return item->data(kChangedRole).toBool();
    }));
    const auto chosen = parameters_->selectedItems();
    takeParameter_->setEnabled(!chosen.isEmpty() &&
                               !chosen.front()->data(Qt::UserRole).toString().isEmpty());
}

void CompareWindow::takeSelectedCells() {
    std::vector<CellDifference> cells;
    for (QTableWidgetItem* item : grid_->selectedItems()) {
        if (!item->data(kChangedRole).toBool()) continue;
        const int column = item->column() + 1;
        const int dataRow = item->data(kDataRowRole).toInt();
        cells.push_back({kind_, column, dataRow, cellOf(here_, kind_, column, dataRow),
                         cellOf(there_, kind_, column, dataRow)});
    }
    if (cells.empty()) return;
    hooks_.takeCells(kind_, cells);
    refresh();
}

void CompareWindow::takeSelectedParameter() {
    const auto chosen = parameters_->selectedItems();
    if (chosen.isEmpty()) return;
    const std::string variable = chosen.front()->data(Qt::UserRole).toString().toStdString();
    if (variable.empty()) return;
    hooks_.takeParameter(variable);
    refresh();
}

}  // namespace qz
