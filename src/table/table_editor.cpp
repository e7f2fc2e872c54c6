#include "table/table_editor.h"

#include <QUndoCommand>
#include <utility>

#include "charts/table_chart.h"
#include "image/table_text.h"
#include "table/cell_text.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz {
namespace {

std::vector<QString> dataTexts(const TimingGrid& grid) {
    std::vector<QString> texts;
    for (int row = 1; row < grid.rowCount(); ++row)
        for (int column = 1; column < grid.columnCount(); ++column)
            texts.push_back(grid.cellText(row, column));
    return texts;
}

void setUpHeaders(TimingGrid& grid, TableKind kind, int dataRows) {
    grid.setSize(dataRows + 1, kRpmBreakpoints + 1);
    for (int row = 0; row <= dataRows; ++row)
        for (int column = 0; column <= kRpmBreakpoints; ++column)
            if (row == 0 || column == 0)
                grid.setCellText(row, column,
                                 QString::fromStdString(headerText(kind, row, column, 0)));
}

// One edit as the table was before and after it; undo and redo put either back. A step of
// a run of steps takes in the next step of the same run, so the run is undone as one.
class TableEdit : public QUndoCommand {
  public:
    TableEdit(TableEditor& editor, TableEditor::Snapshot before, TableEditor::Snapshot after,
              const QString& what, std::optional<int> stepRun)
        : QUndoCommand(what),
          editor_(editor),
          before_(std::move(before)),
          after_(std::move(after)),
          stepRun_(stepRun) {}
    void undo() override { editor_.restore(before_); }
    void redo() override {
        if (done_) editor_.restore(after_);
        done_ = true;  // pushing the edit, which has already been made, changes nothing
    }
    int id() const override { return stepRun_ ? kStepId : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const TableEdit*>(other);
        if (next->stepRun_ != stepRun_) return false;
        after_ = next->after_;
        setObsolete(after_ == before_);  // a run that came back where it began is no step
        return true;
    }

  private:
    static constexpr int kStepId = 1;
    TableEditor& editor_;
    TableEditor::Snapshot before_;
    TableEditor::Snapshot after_;
    std::optional<int> stepRun_;
    bool done_ = false;
};

}  // namespace

TableEditor::TableEditor(ProgramState& state, Prompts& prompts, QString programFolder,
                         QWidget* parent, TableHooks hooks)
    : state_(state),
      prompts_(prompts),
      programFolder_(std::move(programFolder)),
      hooks_(std::move(hooks)),
      chart2D_(new LineChart(QStringLiteral("Chart2D1"), parent)),
      chart3D_(new SurfaceChart(QStringLiteral("Chart3D1"), parent)),
      views_{KindViews{chart2D_, new TimingGrid(QStringLiteral("VSFlexGrid1"), parent)},
             KindViews{chart3D_, new TimingGrid(QStringLiteral("VSFlexGrid2"), parent)}} {
    hideAll();
    // Each step keeps a copy of both tables: the newest thousand steps are kept.
    undoStack_.setUndoLimit(1000);
    connectGrid(TableKind::Table2D);
    connectGrid(TableKind::Table3D);
    connectCharts();
    createActions(parent);
}

TableEditor::~TableEditor() = default;

QString TableEditor::templatePath(const QString& file) const {
    return programFolder_ + "/" + file;
}

void TableEditor::setUpAtStartup(const QString& title) {
    auto load = [&](TimingChart& chart, const QString& file) {
        if (!chart.loadTemplate(templatePath(file)))
            prompts_.message("Chart template file " + file.toStdString() + " not found.",
                             PromptIcon::Exclamation, PromptButtons::OK, title.toStdString());
        chart.setValueLabelVisible(false);
    };
    load(*chart2D_, chartTemplateFile(TableKind::Table2D, 0));
    load(*chart3D_, chartTemplateFile(TableKind::Table3D, 0));
    for (TableKind kind : {TableKind::Table2D, TableKind::Table3D})
        setUpHeaders(*views(kind).grid, kind, views(kind).chart->gridRows());
}

bool TableEditor::tableOpen() const {
    return openKind().has_value();
}

std::optional<TableKind> TableEditor::openKind() const {
    for (TableKind kind : {TableKind::Table2D, TableKind::Table3D})
        if (views(kind).grid->isVisible()) return kind;
    return std::nullopt;
}

bool TableEditor::shows(TableKind kind) const {
    return views(kind).chart->isVisible();
}

void TableEditor::hide(TableKind kind) {
    views(kind).chart->hide();
    views(kind).grid->hide();
    updateActions();
}

void TableEditor::hideAll() {
    hide(TableKind::Table2D);
    hide(TableKind::Table3D);
}

void TableEditor::setEnabled(bool enabled) {
    for (const KindViews& view : views_) view.grid->setEnabled(enabled);
}

void TableEditor::hideValueLabels() {
    for (const KindViews& view : views_) view.chart->setValueLabelVisible(false);
}

void TableEditor::layOut(int innerWidth, int innerHeight, const TwipScale& scale) {
    int needs = 0;
    for (const KindViews& view : views_) needs = std::max(needs, view.grid->neededHeight());
    const ViewLayout layout = computeViewLayout(innerWidth, innerHeight, scale.toTwipsY(needs));
    auto place = [&](QWidget& widget, const TwipRect& rect) {
        widget.setGeometry(scale.toPixelsX(rect.left), scale.toPixelsY(rect.top),
                           scale.toPixelsX(rect.width), scale.toPixelsY(rect.height));
    };
    for (const KindViews& view : views_) {
        place(*view.chart, layout.chart);
        place(*view.grid, layout.grid);
        const QSize inner = view.grid->maximumViewportSize();
        const int columnWidth =
            std::max(0, scale.toPixelsX(gridColumnWidth(scale.toTwipsX(inner.width()))));
        view.grid->fitColumns(columnWidth * view.grid->columnCount());
        const int innerHeightTwips = scale.toTwipsY(inner.height());
        const int rowHeight = view.chart->gridRows() == 1 ? grid2DRowHeight(innerHeightTwips)
                                                          : grid3DRowHeight(innerHeightTwips);
        view.grid->fitRows(std::max(0, scale.toPixelsY(rowHeight)));
    }
}

// Shows the working table as the open one: into the chart, the chart into the grid, the
// label hidden, the views laid out and shown, the header corner current.
void TableEditor::showTable(TableKind kind) {
    TimingChart& chart = *views(kind).chart;
    chart.suspendRedraw();
    chart.takeTable(state_);
    chart.resumeRedraw();
    copyChartToGrid(kind);
    chart.setValueLabelVisible(false);
    if (hooks_.formResize) hooks_.formResize();
    chart.show();
    views(kind).grid->show();
    views(kind).grid->setCurrentCell(0, 0);
    undoStack_.clear();
    newTable_ = false;
    updateActions();
}

void TableEditor::showNewTable(TableKind kind) {
    showTable(kind);
    newTable_ = true;
}

void TableEditor::copyChartToGrid(TableKind kind) {
    const KindViews& view = views(kind);
    for (int row = 1; row <= view.chart->gridRows(); ++row)
        for (int column = 1; column <= kRpmBreakpoints; ++column)
            view.grid->setCellText(row, column, advanceCell(view.chart->cellValue(row, column)));
    paintHeat(kind);
}

void TableEditor::imageReplaced() {
    hideAll();
    if (state_.Table3DEnabled) ChartSetup3D();
}

ModuleData TableEditor::tablesOnShow() const {
    ModuleData tables = state_;
    if (const auto kind = openKind()) views(*kind).chart->giveTable(tables);
    return tables;
}

TableEditor::Snapshot TableEditor::snapshot() const {
    return {chart2D_->table(), chart3D_->table(), dataTexts(*views(TableKind::Table2D).grid),
            dataTexts(*views(TableKind::Table3D).grid), state_.Table3D};
}

void TableEditor::restore(const Snapshot& snapshot) {
    auto fill = [](TimingGrid& grid, const std::vector<QString>& texts) {
        std::size_t k = 0;
        for (int row = 1; row < grid.rowCount(); ++row)
            for (int column = 1; column < grid.columnCount() && k < texts.size(); ++column)
                grid.setCellText(row, column, texts[k++]);
    };
    chart2D_->setTable(snapshot.chart2D);
    chart3D_->setTable(snapshot.chart3D);
    fill(*views(TableKind::Table2D).grid, snapshot.grid2D);
    fill(*views(TableKind::Table3D).grid, snapshot.grid3D);
    paintHeat(TableKind::Table2D);
    paintHeat(TableKind::Table3D);
    state_.Table3D = snapshot.table3D;
    hideValueLabels();
}

void TableEditor::recordEdit(const Snapshot& before, const QString& what,
                             std::optional<int> stepRun) {
    if (!stepRun) endStepRun();
    Snapshot after = snapshot();
    if (after == before) return;
    undoStack_.push(new TableEdit(*this, before, std::move(after), what, stepRun));
}

}  // namespace qz
