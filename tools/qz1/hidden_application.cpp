#include "qz1/hidden_application.h"

#include <QGuiApplication>

#include "qz1/bad_input.h"

namespace qz1 {

HiddenApplication::HiddenApplication(Kind kind) {
    QCoreApplication* running = QCoreApplication::instance();
    if (kind == Kind::Gui) {
        if (qobject_cast<QGuiApplication*>(running)) return;
        if (running) throw BadInput("report: cannot run beside another Qt application");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QGuiApplication>(argc_, argv_);
    } else if (!running) {
        application_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
}

}  // namespace qz1
