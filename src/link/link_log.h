#pragma once

#include <QLoggingCategory>

// The trace of the serial link ("qz.link"): each byte sent, each reply and how long it took.
// Off by default; QT_LOGGING_RULES="qz.link.debug=true" or `qz1 --verbose` turns it on.
Q_DECLARE_LOGGING_CATEGORY(lcLink)
