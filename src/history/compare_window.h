#pragma once

#include <QDialog>
#include <functional>
#include <string_view>
#include <vector>

#include "core/module_data.h"
#include "image/tune_difference.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace qz {

// The buffer beside another tune (a data file, a restore point, the module): the timing
// table cell by cell coloured by the difference, the parameters that differ in the
// program's words, and a summary. The user can take the other's cells and parameters; the
// window compares again after each.
class CompareWindow : public QDialog {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<ModuleData()> here;  // the buffer as a save would store it, decoded
        std::function<void(TableKind, const std::vector<CellDifference>&)> takeCells;
        std::function<void(std::string_view variable)> takeParameter;
    };
    CompareWindow(const QString& title, ModuleData there, Hooks hooks, QWidget* parent = nullptr);

    // Compares the buffer with the other tune again.
    void refresh();

  private:
    void fillGrid(const TuneDifference& difference);
    void fillParameters(const TuneDifference& difference);
    void takeSelectedCells();
    void takeSelectedParameter();
    void updateButtons();

    ModuleData here_;
    ModuleData there_;
    Hooks hooks_;
    TableKind kind_ = TableKind::Table2D;
    QLabel* summary_;
    QLabel* kindLine_;
    QTableWidget* grid_;
    QLabel* legend_;
    QListWidget* parameters_;
    QPushButton* takeCells_;
    QPushButton* takeParameter_;
};

// A cell's colour for a difference on a scale whose largest size is `largest`: red where
// the other tune advances more, blue where it advances less, white where they are alike.
QColor differenceColour(double difference, double largest);

}  // namespace qz
