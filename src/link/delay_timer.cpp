#include "link/delay_timer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "core/program_error.h"

namespace qz {

void DelayTimer::operator()(int milliseconds) {
    // The microsecond count is a 32-bit value; a delay that does not fit is an overflow.
    const long long micros = static_cast<long long>(milliseconds) * 1000;
    if (micros > 2147483647LL || micros < -2147483648LL) throw overflowError();
    const long long end = nowNs() + micros * 1000;

    const long long coarse = end - nowNs() - 2'000'000;
    if (coarse > 0) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(coarse / 1'000'000), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
    QCoreApplication::processEvents();
    finishAt(end);
}

}  // namespace qz
