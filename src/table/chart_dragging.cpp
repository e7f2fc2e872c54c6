#include "table/block_edits.h"
#include "table/cell_text.h"
#include "table/table_editor.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz {
namespace {

constexpr double kPickTolerance = 15;

bool leftAlone(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    return button == Qt::LeftButton && modifiers == Qt::NoModifier;
}

bool picked(const ChartPick& pick) {
    return pick.inPlotArea && pick.first >= 1 && pick.second >= 1 && pick.distance < kPickTolerance;
}

}  // namespace

void TableEditor::connectCharts() {
    const auto wire = [this](TimingChart* chart, auto down, auto move, auto up) {
        QObject::connect(chart, &TimingChart::mousePressed, &connections_,
                         [this, down](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF at) {
                             (this->*down)(b, m, at);
                         });
        QObject::connect(chart, &TimingChart::mouseMoved, &connections_,
                         [this, move](Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF at) {
                             (this->*move)(b, m, at);
                         });
        QObject::connect(
            chart, &TimingChart::mouseReleased, &connections_,
            [this, up](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF) { (this->*up)(b, m); });
        QObject::connect(chart, &TimingChart::doubleClicked, &connections_,
                         [this] { drag_.IgnoreNextRelease = true; });
    };
    wire(chart2D_, &TableEditor::Chart2D1_MouseDown, &TableEditor::Chart2D1_MouseMove,
         &TableEditor::Chart2D1_MouseUp);
    wire(chart3D_, &TableEditor::Chart3D1_MouseDown, &TableEditor::Chart3D1_MouseMove,
         &TableEditor::Chart3D1_MouseUp);
}

void TableEditor::Chart2D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                     QPointF at) {
    if (drag_.IgnoreNextRelease) return;
    drag_.DragStartY = at.toPoint().y();
    if (!leftAlone(button, modifiers)) return;
    if (!views(TableKind::Table2D)
             .grid->commitOpenEditor()) {  // a typed cell is kept, or refused, before the press
        drag_.DragSeries = drag_.DragPoint = 0;
        return;
    }
    const ChartPick pick = chart2D_->pick(at);
    if (!picked(pick) || pick.first != 1) {
        drag_.DragSeries = drag_.DragPoint = 0;
        return;
    }
    drag_.DragSeries = pick.first;
    drag_.DragPoint = pick.second;
    beforeEdit_ = snapshot();
    views(TableKind::Table2D).grid->setCurrentCell(1, drag_.DragPoint);
    chart2D_->suspendRedraw();
    drag_.DragStartValue = chart2D_->value(drag_.DragSeries, drag_.DragPoint);
    chart2D_->attachValueLabel(drag_.DragSeries, drag_.DragPoint);
    chart2D_->setValueLabelText(advanceCell(drag_.DragStartValue));
    chart2D_->setValueLabelVisible(true);
    chart2D_->resumeRedraw();
}

void TableEditor::Chart2D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                     QPointF at) {
    if (drag_.IgnoreNextRelease || !(buttons & Qt::LeftButton) || modifiers != Qt::NoModifier)
        return;
    if (drag_.DragSeries != 1 || drag_.DragPoint == 0) return;
    const double value =
        dragged2D(drag_.DragStartValue, drag_.DragStartY, at.toPoint().y(), state_.TrigTiming);
    chart2D_->suspendRedraw();
    chart2D_->setValue(drag_.DragSeries, drag_.DragPoint, value);
    chart2D_->setValueLabelText(advanceCell(value));
    chart2D_->resumeRedraw();
}

// A release ends the drag whatever keys are held then: the point's cell shows its value.
void TableEditor::Chart2D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers) {
    if (drag_.ignoreRelease() || button != Qt::LeftButton || !drag_.dragging2D()) return;
    writeCell(TableKind::Table2D, 1, drag_.DragPoint,
              chart2D_->value(drag_.DragSeries, drag_.DragPoint));
    chart2D_->setValueLabelVisible(false);
    if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Drag"));
    beforeEdit_.reset();
}

void TableEditor::Chart3D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                     QPointF at) {
    if (drag_.IgnoreNextRelease || button != Qt::LeftButton) return;
    const bool shift = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !shift) return;
    if (!views(TableKind::Table3D).grid->commitOpenEditor()) {
        drag_.DragX = drag_.DragY = 0;
        return;
    }
    const ChartPick pick = chart3D_->pick(at);
    if (picked(pick)) {
        drag_.DragX = pick.first;
        drag_.DragY = pick.second;
        beforeEdit_ = snapshot();
        if (!shift)
            views(TableKind::Table3D)
                .grid->setCurrentCell(kPressureRows + 1 - drag_.DragY, drag_.DragX);
        drag_.ShiftOffset = 0;
        chart3D_->suspendRedraw();
        chart3D_->attachValueLabel(drag_.DragX, drag_.DragY);
        chart3D_->setValueLabelText(shift ? QStringLiteral("0.0")
                                          : advanceCell(chart3D_->value(drag_.DragX, drag_.DragY)));
        chart3D_->setValueLabelVisible(true);
        chart3D_->resumeRedraw();
    } else {
        drag_.DragX = drag_.DragY = 0;
    }
    if (shift) views(TableKind::Table3D).grid->setCurrentCell(0, 0);
}

void TableEditor::Chart3D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                     QPointF at) {
    if (drag_.IgnoreNextRelease || !(buttons & Qt::LeftButton) || drag_.DragX == 0 ||
        drag_.DragY == 0)
        return;
    const double z = chart3D_->valueThrough(drag_.DragX, drag_.DragY, at);
    if (modifiers == Qt::NoModifier) {
        const double value = dragged3D(z, state_.TrigTiming);
        chart3D_->suspendRedraw();
        chart3D_->setValue(drag_.DragX, drag_.DragY, value);
        chart3D_->setValueLabelText(advanceCell(value));
        chart3D_->resumeRedraw();
    } else if (modifiers == Qt::ShiftModifier) {
        drag_.ShiftOffset = dragOffset(z, chart3D_->value(drag_.DragX, drag_.DragY));
        chart3D_->setValueLabelText(advanceCell(drag_.ShiftOffset));
    }
}

// With Shift the offset goes into Table3D itself, the one edit that writes the working table
// directly. Without it the release ends a point's drag, whatever else is held: the point's
// own cell shows its value (the current cell may be the header corner of a Shift press).
void TableEditor::Chart3D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (drag_.ignoreRelease() || button != Qt::LeftButton || !drag_.dragging3D()) return;
    if (modifiers != Qt::ShiftModifier) {
        writeCell(TableKind::Table3D, kPressureRows + 1 - drag_.DragY, drag_.DragX,
                  chart3D_->value(drag_.DragX, drag_.DragY));
        chart3D_->setValueLabelVisible(false);
        if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Drag"));
    } else {
        chart3D_->suspendRedraw();
        state_.Table3D = chart3D_->table();
        for (int y = 1; y <= kPressureRows; ++y)
            for (int x = 1; x <= kRpmBreakpoints; ++x)
                state_.Table3D(x, y) =
                    shifted(state_.Table3D(x, y), drag_.ShiftOffset, state_.TrigTiming);
        chart3D_->setTable(state_.Table3D);
        chart3D_->resumeRedraw();
        chart3D_->setValueLabelVisible(false);
        Copy3DChartToGrid();
        if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Offset"));
    }
    beforeEdit_.reset();
}

}  // namespace qz
