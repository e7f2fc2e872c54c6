#pragma once

#include <QString>
#include <QWidget>

namespace qz {

// The width a window needs so that its frame does not cut its title: the title's width in
// the window title font, and room for the frame's buttons.
int widthForTitle(const QString& title);

// A window at least as wide as its title.
inline void keepTitleWhole(QWidget& window) {
    window.setMinimumWidth(widthForTitle(window.windowTitle()));
}

}  // namespace qz
