#include "qz1/qt_messages.h"

#include <QtGlobal>
#include <cstring>
#include <mutex>

#include "link/link_log.h"

namespace qz1 {
namespace {

std::mutex streamLock;
std::ostream* stream = nullptr;
QtMessageHandler previous = nullptr;

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        previous(type, context, message);
        return;
    }
    if (!context.category || std::strcmp(context.category, lcLink().categoryName()) != 0) return;
    const std::lock_guard lock(streamLock);
    *stream << context.category << ": " << message.toStdString() << '\n';
}

}  // namespace

QtMessagesToStream::QtMessagesToStream(std::ostream& err) {
    stream = &err;
    previous = qInstallMessageHandler(handle);
}

QtMessagesToStream::~QtMessagesToStream() {
    qInstallMessageHandler(previous);
}

}  // namespace qz1
