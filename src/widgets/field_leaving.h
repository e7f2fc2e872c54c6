#pragma once

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

namespace qz {

// The box the user is leaving, when the event is one: the focus moving on within the window
// (by Tab, a click, a button), not to another window or a popup.
inline QLineEdit* fieldLeft(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut) return nullptr;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return nullptr;
    return qobject_cast<QLineEdit*>(watched);
}

}  // namespace qz
