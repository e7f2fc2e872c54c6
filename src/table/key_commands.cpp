#include <QAction>
#include <QKeySequence>

#include "table/table_editor.h"
#include "table/timing_grid.h"

namespace qz {
namespace {

QAction* command(QWidget* parent, const char* name, const char* caption,
                 const QList<QKeySequence>& keys) {
    auto* action = new QAction(QString::fromUtf8(caption), parent);
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcuts(keys);
    return action;
}

}  // namespace

// The keys are named, not the platform's standard sequences: those may already include
// Ctrl+Y, and two shortcuts on one key would both stay silent. "+" is a shifted key on many
// keyboards, so Shift with it counts as "+" alone; the keypad's keys count as the main ones.
void TableEditor::createActions(QWidget* parent) {
    const QKeySequence plus(Qt::Key_Plus);
    const QKeySequence shiftPlus(Qt::SHIFT | Qt::Key_Plus);
    actions_ = {
        command(parent, "mnuUndo", "&Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)}),
        command(
            parent, "mnuRedo", "&Redo",
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}),
        command(parent, "mnuStepUp", "Step U&p", {plus, shiftPlus}),
        command(parent, "mnuStepDown", "Step &Down", {QKeySequence(Qt::Key_Minus)}),
        command(parent, "mnuStepUpCoarse", "Step Up Coarse",
                {QKeySequence(Qt::CTRL | Qt::Key_Plus),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)}),
        command(parent, "mnuStepDownCoarse", "Step Down Coarse",
                {QKeySequence(Qt::CTRL | Qt::Key_Minus)}),
        command(parent, "mnuInterpolate", "&Interpolate", {QKeySequence(Qt::CTRL | Qt::Key_I)}),
        command(parent, "mnuSmooth", "Smoot&h", {QKeySequence(Qt::CTRL | Qt::Key_M)}),
    };
    // The keys work wherever the focus is in the window while a grid is on show; an open
    // cell editor takes the keys for its own text first.
    for (const KindViews& view : views_)
        view.grid->addActions({actions_.undo, actions_.redo, actions_.stepUp, actions_.stepDown,
                               actions_.stepUpCoarse, actions_.stepDownCoarse, actions_.interpolate,
                               actions_.smooth});
    QObject::connect(actions_.undo, &QAction::triggered, &connections_, [this] {
        endStepRun();
        if (tableOpen()) undoStack_.undo();
    });
    QObject::connect(actions_.redo, &QAction::triggered, &connections_, [this] {
        endStepRun();
        if (tableOpen()) undoStack_.redo();
    });
    for (const auto& [action, up, coarse] : {std::tuple{actions_.stepUp, true, false},
                                             {actions_.stepDown, false, false},
                                             {actions_.stepUpCoarse, true, true},
                                             {actions_.stepDownCoarse, false, true}})
        QObject::connect(action, &QAction::triggered, &connections_,
                         [this, up = up, coarse = coarse] { Step(up, coarse); });
    const auto onOpenTable = [this](void (TableEditor::*edit)(TableKind)) {
        return [this, edit] {
            if (const auto kind = openKind(); kind && commitPendingEdit()) (this->*edit)(*kind);
        };
    };
    QObject::connect(actions_.interpolate, &QAction::triggered, &connections_,
                     onOpenTable(&TableEditor::Interpolate));
    QObject::connect(actions_.smooth, &QAction::triggered, &connections_,
                     onOpenTable(&TableEditor::Smooth));
    QObject::connect(&undoStack_, &QUndoStack::indexChanged, &connections_,
                     [this] { updateActions(); });
    updateActions();
}

void TableEditor::updateActions() {
    if (!actions_.undo) return;  // the views are hidden before the commands are made
    const auto kind = openKind();
    const auto block = kind ? selectedData(*kind) : std::nullopt;
    actions_.undo->setEnabled(kind && undoStack_.canUndo());
    actions_.redo->setEnabled(kind && undoStack_.canRedo());
    for (QAction* step :
         {actions_.stepUp, actions_.stepDown, actions_.stepUpCoarse, actions_.stepDownCoarse})
        step->setEnabled(block.has_value());
    for (QAction* fill : {actions_.interpolate, actions_.smooth})
        fill->setEnabled(block && hasInnerCells(*block));
}

}  // namespace qz
