#include "files/buffer_status_name.h"

#include <QDir>

namespace qz {

QString bufferStatusName(const QString& path) {
    const QString normalised = QDir::fromNativeSeparators(path);
    const QList<uint> name = normalised.mid(normalised.lastIndexOf(u'/') + 1).toUcs4();
    constexpr qsizetype kLongest = 40;
    // Counted in characters, not UTF-16 units, so a name is never cut inside a character.
    if (name.size() <= kLongest)
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(name.data()), name.size());
    return QStringLiteral("...") +
           QString::fromUcs4(
               reinterpret_cast<const char32_t*>(name.data() + name.size() - kLongest), kLongest);
}

}  // namespace qz
