#include "widgets/window_title.h"

#include <QApplication>
#include <QFontMetrics>

namespace qz {

int widthForTitle(const QString& title) {
    constexpr int kFrameButtonsAndMargins = 140;
    return QFontMetrics(QApplication::font("QWorkspaceTitleBar")).horizontalAdvance(title) +
           kFrameButtonsAndMargins;
}

}  // namespace qz
