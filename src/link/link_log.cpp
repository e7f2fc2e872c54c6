#include "link/link_log.h"

Q_LOGGING_CATEGORY(lcLink, "qz.link", QtWarningMsg)
