#include "files/data_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace qz {
namespace {

ProgramError fileError(const char* source, const QString& path, const QString& reason) {
    return ProgramError(kFileAccessErrorNumber, source,
                        QStringLiteral("%1: %2").arg(path, reason).toStdString());
}

}  // namespace

PrematureEndOfFile::PrematureEndOfFile(long long bytesRead)
    : ProgramError(kInputPastEndErrorNumber, "File Open",
                   "premature end of file after " + std::to_string(bytesRead) + " bytes"),
      bytesRead_(bytesRead) {}

void requireRegularFile(const QString& path, const char* source) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw fileError(source, path, QStringLiteral("not a regular file"));
}

ImageBytes readDataFile(const QString& path) {
    requireRegularFile(path, "File Open");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw fileError("File Open", path, file.errorString());
    ImageBytes bytes{};
    long long total = 0;
    while (total < kImageSize) {
        const qint64 got =
            file.read(reinterpret_cast<char*>(bytes.data()) + total, kImageSize - total);
        if (got < 0) throw fileError("File Open", path, file.errorString());
        if (got == 0) throw PrematureEndOfFile(total);
        total += got;
    }
    return bytes;
}

void loadDataFile(const QString& path, ModuleData& data) {
    const ImageBytes bytes = readDataFile(path);
    std::copy(bytes.begin(), bytes.end(), data.EEPROMBuffer.begin() + kImageFirstAddress);
    data.BufferEmpty = false;
}

void writeFileAtomically(const QString& path, QByteArrayView bytes, const char* source) {
    requireRegularFile(path, source);
    QSaveFile file(path);
    // Unbuffered: a write that fails in a buffered flush inside commit() is not seen by
    // commit(), which would then rename a truncated file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw fileError(source, path, file.errorString());
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw fileError(source, path, reason);
    }
    if (!file.commit()) throw fileError(source, path, file.errorString());
}

void writeDataFile(const QString& path, const EepromBytes& buffer) {
    const auto* image = reinterpret_cast<const char*>(buffer.data()) + kImageFirstAddress;
    writeFileAtomically(path, QByteArrayView(image, kImageSize), "File Save");
}

}  // namespace qz
