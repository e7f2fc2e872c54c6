#include <QUndoCommand>

#include "table/table_views.h"

namespace qz {
namespace {

QStringList dataTexts(const TimingGrid& grid) {
    QStringList texts;
    for (int row = 1; row < grid.rowCount(); ++row)
        for (int column = 1; column < grid.columnCount(); ++column)
            texts << grid.cellText(row, column);
    return texts;
}

// One edit as the table was before and after it; undo and redo put either back.
class TableEdit : public QUndoCommand {
  public:
    TableEdit(TableViews& views, TableViews::Snapshot before, TableViews::Snapshot after,
              const QString& what)
        : QUndoCommand(what), views_(views), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { views_.restore(before_); }
    void redo() override {
        if (done_) views_.restore(after_);
        done_ = true;  // pushing the edit, which has already been made, changes nothing
    }

  private:
    TableViews& views_;
    TableViews::Snapshot before_;
    TableViews::Snapshot after_;
    bool done_ = false;
};

}  // namespace

TableViews::Snapshot TableViews::snapshot() const {
    return {chart2D_->table(), chart3D_->table(), dataTexts(*grid2D_), dataTexts(*grid3D_),
            state_.Table3D};
}

void TableViews::restore(const Snapshot& snapshot) {
    auto fill = [](TimingGrid& grid, const QStringList& texts) {
        int k = 0;
        for (int row = 1; row < grid.rowCount(); ++row)
            for (int column = 1; column < grid.columnCount() && k < texts.size(); ++column)
                grid.setCellText(row, column, texts[k++]);
    };
    chart2D_->setTable(snapshot.chart2D);
    chart3D_->setTable(snapshot.chart3D);
    fill(*grid2D_, snapshot.grid2D);
    fill(*grid3D_, snapshot.grid3D);
    paintHeat(*grid2D_, false);
    paintHeat(*grid3D_, true);
    state_.Table3D = snapshot.table3D;
    hideValueLabels();
}

void TableViews::recordEdit(const Snapshot& before, const QString& what) {
    Snapshot after = snapshot();
    if (after == before) return;
    undoStack_.push(new TableEdit(*this, before, std::move(after), what));
}

}  // namespace qz
