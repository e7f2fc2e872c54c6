#include "table/table_views.h"

#include <QShortcut>
#include <utility>

#include "image/table_layout.h"
#include "table/cell_text.h"

namespace qz {
namespace {

constexpr auto kTemplate2D = "QZ_2D_Timing_Chart.oc2";
constexpr int kGridColumns = 22;

void setUpGridHeaders(TimingGrid& grid, int rows, const QString& corner) {
    grid.setSize(rows, kGridColumns);
    grid.setCellText(0, 0, corner);
    for (int c = 1; c <= kRpmBreakpoints; ++c)
        grid.setCellText(0, c, cellNumber(rpmBreakpoint(c), "#0"));
}

}  // namespace

QString surfaceTemplateFile(std::uint8_t mapSensorBar) {
    switch (mapSensorBar) {
        case 1:
            return QStringLiteral("QZ_3D_2Bar_Timing_Chart.oc3");
        case 2:
            return QStringLiteral("QZ_3D_3Bar_Timing_Chart.oc3");
        default:
            return QStringLiteral("QZ_3D_1Bar_Timing_Chart.oc3");
    }
}

TableViews::TableViews(ProgramState& state, Prompts& prompts, QString programFolder,
                       QWidget* parent, TableHooks hooks)
    : state_(state),
      prompts_(prompts),
      programFolder_(std::move(programFolder)),
      hooks_(std::move(hooks)),
      chart2D_(new LineChart(QStringLiteral("Chart2D1"), parent)),
      chart3D_(new SurfaceChart(QStringLiteral("Chart3D1"), parent)),
      grid2D_(new TimingGrid(QStringLiteral("VSFlexGrid1"), parent)),
      grid3D_(new TimingGrid(QStringLiteral("VSFlexGrid2"), parent)) {
    hideAll();
    // Each step keeps a copy of both tables: the newest thousand steps are kept.
    undoStack_.setUndoLimit(1000);
    connectGrid(*grid2D_, false);
    connectGrid(*grid3D_, true);
    connectCharts();
    // Undo and redo while a table is open, wherever the focus is in the window (an open
    // cell editor takes the keys for its own text first).
    const auto undo = [this] {
        if (tableOpen()) undoStack_.undo();
    };
    const auto redo = [this] {
        if (tableOpen()) undoStack_.redo();
    };
    // Named keys, not the platform's standard sequences: those may already include Ctrl+Y,
    // and two shortcuts on one key would both stay silent.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), parent, undo, Qt::WindowShortcut);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        new QShortcut(key, parent, redo, Qt::WindowShortcut);
}

QString TableViews::templatePath(const QString& file) const {
    return programFolder_ + "/" + file;
}

void TableViews::setUpAtStartup(const QString& title) {
    auto load = [&](TimingChart& chart, const QString& file) {
        if (!chart.loadTemplate(templatePath(file)))
            prompts_.message("Chart template file " + file.toStdString() + " not found.",
                             PromptIcon::Exclamation, PromptButtons::OK, title.toStdString());
        chart.setValueLabelVisible(false);
    };
    load(*chart2D_, kTemplate2D);
    setUpGridHeaders(*grid2D_, 2, QStringLiteral("RPM"));
    grid2D_->setCellText(1, 0, QStringLiteral("ADV"));
    load(*chart3D_, surfaceTemplateFile(0));
    setUpGridHeaders(*grid3D_, 9, QStringLiteral("MAP/RPM"));
    for (int row = 1; row <= kPressureRows; ++row)
        grid3D_->setCellText(row, 0, cellNumber(pressureLabel(0, kPressureRows + 1 - row), "#0"));
}

bool TableViews::tableOpen() const {
    return grid2D_->isVisible() || grid3D_->isVisible();
}

void TableViews::hideAll() {
    chart2D_->hide();
    grid2D_->hide();
    chart3D_->hide();
    grid3D_->hide();
}

void TableViews::hideValueLabels() {
    chart2D_->setValueLabelVisible(false);
    chart3D_->setValueLabelVisible(false);
}

void TableViews::layOut(int innerWidth, int innerHeight, const TwipScale& scale) {
    const int gridNeeds =
        scale.toTwipsY(std::max(grid2D_->neededHeight(), grid3D_->neededHeight()));
    const ViewLayout layout = computeViewLayout(innerWidth, innerHeight, gridNeeds);
    auto place = [&](QWidget& widget, const TwipRect& rect) {
        widget.setGeometry(scale.toPixelsX(rect.left), scale.toPixelsY(rect.top),
                           scale.toPixelsX(rect.width), scale.toPixelsY(rect.height));
    };
    place(*chart2D_, layout.chart);
    place(*chart3D_, layout.chart);
    for (TimingGrid* grid : {grid2D_, grid3D_}) {
        place(*grid, layout.grid);
        const QSize inner = grid->maximumViewportSize();
        const int columnWidth =
            std::max(0, scale.toPixelsX(gridColumnWidth(scale.toTwipsX(inner.width()))));
        grid->fitColumns(columnWidth * grid->columnCount());
        const int innerHeightTwips = scale.toTwipsY(inner.height());
        const int rowHeight =
            grid == grid2D_ ? grid2DRowHeight(innerHeightTwips) : grid3DRowHeight(innerHeightTwips);
        grid->fitRows(std::max(0, scale.toPixelsY(rowHeight)));
    }
}

}  // namespace qz
