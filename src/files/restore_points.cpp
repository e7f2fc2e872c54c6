#include "files/restore_points.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace qz {
namespace {

Q_LOGGING_CATEGORY(lcRestore, "qz.restorepoints", QtWarningMsg)

constexpr const char* kSource = "Restore Points";
constexpr qint64 kLargestRecord = 4096;  // a record is a few lines; a larger file is foreign

std::optional<RestorePoint> readRecord(const QString& recordPath) {
    QFile file(recordPath);
    if (!QFileInfo(recordPath).isFile() || file.size() > kLargestRecord ||
        !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
    RestorePoint point;
    point.time = QDateTime::fromString(record.value("time").toString(), Qt::ISODateWithMs);
    point.origin = record.value("origin").toString();
    point.fileName = record.value("file").toString();
    point.firmwareId = record.value("firmware").toString();
    point.recordPath = recordPath;
    point.dataPath = QFileInfo(recordPath).dir().filePath(record.value("data").toString());
    // The data file must be a plain name in this folder and a whole data file.
    if (!point.time.isValid() || point.origin.isEmpty() ||
        record.value("data").toString().contains('/') || !QFileInfo(point.dataPath).isFile() ||
        QFileInfo(point.dataPath).size() != kImageSize)
        return std::nullopt;
    return point;
}

}  // namespace

QString restorePointTime(const RestorePoint& point) {
    return point.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString restorePointFolder() {
    const QString given = qEnvironmentVariable("QZ_RESTORE_POINTS");
    if (!given.isEmpty()) return given;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tunewell/QZ/restore-points");
}

RestorePoints::RestorePoints(QString folder) : folder_(std::move(folder)) {}

std::vector<RestorePoint> RestorePoints::list() const {
    std::vector<RestorePoint> points;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files))
        if (auto point = readRecord(dir.filePath(name)))
            points.push_back(std::move(*point));
        else
            qCInfo(lcRestore) << "passed over" << dir.filePath(name);
    // Within one millisecond, the names give the order.
    std::sort(points.begin(), points.end(), [](const RestorePoint& a, const RestorePoint& b) {
        if (a.time != b.time) return a.time > b.time;
        return a.dataPath > b.dataPath;
    });
    return points;
}

EepromBytes RestorePoints::read(const RestorePoint& point) {
    const ImageBytes bytes = readDataFile(point.dataPath);
    EepromBytes image{};
    std::copy(bytes.begin(), bytes.end(), image.begin() + kImageFirstAddress);
    return image;
}

bool RestorePoints::keep(const EepromBytes& image, const QString& origin, const QString& fileName,
                         const QString& firmwareId, const QDateTime& when) {
    std::vector<RestorePoint> points = list();
    if (!points.empty()) {
        try {
            if (read(points.front()) == image) return false;
        } catch (const ProgramError&) {
            // an unreadable newest point is no reason not to keep this one
        }
    }
    if (!QDir().mkpath(folder_))
        throw ProgramError(75, kSource, "Path/File access error", folder_.toStdString());
    const QDir dir(folder_);
    // Named by the time and a count, so that names sort in the order points were kept.
    QString stem;
    for (int n = 0; stem.isEmpty() || QFileInfo::exists(dir.filePath(stem + ".dat")) ||
                    QFileInfo::exists(dir.filePath(stem + ".json"));
         ++n)
        stem = when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
               QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    writeDataFile(dir.filePath(stem + ".dat"), image);
    QJsonObject record;
    record["time"] = when.toString(Qt::ISODateWithMs);
    record["origin"] = origin;
    record["file"] = fileName;
    record["firmware"] = firmwareId;
    record["data"] = stem + ".dat";
    writeFileAtomically(dir.filePath(stem + ".json"), QJsonDocument(record).toJson(), kSource);
    points.insert(points.begin(), {dir.filePath(stem + ".dat"), dir.filePath(stem + ".json"), when,
                                   origin, fileName, firmwareId});
    removeOldest(std::move(points));
    return true;
}

void RestorePoints::removeOldest(std::vector<RestorePoint> points) const {
    for (std::size_t i = kKept; i < points.size(); ++i) {
        QFile::remove(points[i].recordPath);  // first: a point without its record is not listed
        QFile::remove(points[i].dataPath);
    }
}

}  // namespace qz
