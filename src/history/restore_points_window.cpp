#include "history/restore_points_window.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qz {

RestorePointsWindow::RestorePointsWindow(std::vector<RestorePoint> points,
                                         const std::function<QString(const RestorePoint&)>& differs,
                                         QWidget* parent)
    : QDialog(parent), points_(std::move(points)) {
    setObjectName(QStringLiteral("frmRestorePoints"));
    setWindowTitle(QStringLiteral("Restore Points"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstRestorePoints"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Origin"),
                            QStringLiteral("File"), QStringLiteral("Firmware ID"),
                            QStringLiteral("Compared with the buffer")});
    for (const RestorePoint& point : points_)
        new QTreeWidgetItem(
            list_, {restorePointTime(point), point.origin, QFileInfo(point.fileName).fileName(),
                    point.firmwareId, differs(point)});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    compare_ = new QPushButton(QStringLiteral("&Compare"), this);
    compare_->setObjectName(QStringLiteral("cmdCompare"));
    restore_ = new QPushButton(QStringLiteral("&Restore"), this);
    restore_->setObjectName(QStringLiteral("cmdRestore"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(compare_, QDialogButtonBox::ActionRole);
    buttons->addButton(restore_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(compare_, &QPushButton::clicked, this, [this] { choose(Choice::Compare); });
    connect(restore_, &QPushButton::clicked, this, [this] { choose(Choice::Restore); });
    const auto enable = [this] {
        compare_->setEnabled(list_->currentItem() != nullptr);
        restore_->setEnabled(list_->currentItem() != nullptr);
    };
    connect(list_, &QTreeWidget::currentItemChanged, this, enable);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { choose(Choice::Compare); });
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    enable();

    auto* layout = new QVBoxLayout(this);
    if (points_.empty())
        layout->addWidget(
            new QLabel(QStringLiteral("No restore points have been kept yet."), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(860, 420);
}

std::optional<RestorePoint> RestorePointsWindow::chosenPoint() const {
    const int index = list_->indexOfTopLevelItem(list_->currentItem());
    if (index < 0) return std::nullopt;
    return points_[static_cast<std::size_t>(index)];
}

void RestorePointsWindow::choose(Choice choice) {
    if (!chosenPoint()) return;
    choice_ = choice;
    accept();
}

}  // namespace qz
