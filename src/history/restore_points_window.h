#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "files/restore_points.h"

class QPushButton;
class QTreeWidget;

namespace qz {

// The restore points, newest first, with how each differs from the buffer; the user picks
// one to compare or to restore, and the window closes with that choice.
class RestorePointsWindow : public QDialog {
    Q_OBJECT
  public:
    enum class Choice { None, Compare, Restore };

    // `differs` says how a point differs from the buffer ("same", "12 cells, 2 parameters").
    RestorePointsWindow(std::vector<RestorePoint> points,
                        const std::function<QString(const RestorePoint&)>& differs,
                        QWidget* parent = nullptr);

    Choice choice() const { return choice_; }
    std::optional<RestorePoint> chosenPoint() const;

  private:
    void choose(Choice choice);

    std::vector<RestorePoint> points_;
    QTreeWidget* list_;
    QPushButton* compare_;
    QPushButton* restore_;
    Choice choice_ = Choice::None;
};

}  // namespace qz
