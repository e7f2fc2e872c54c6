#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qz {

// Dialogs and wizards open in the middle of the screen: left = (screen width - width) / 2,
// top = (screen height - height) / 2.
inline void centreOnScreen(QWidget& window) {
    window.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window.move(area.left() + (area.width() - window.width()) / 2,
                    area.top() + (area.height() - window.height()) / 2);
    }
}

}  // namespace qz
