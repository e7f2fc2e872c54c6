#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "files/data_file.h"

namespace qz {

// A copy of the data buffer the program kept on its own, so that no buffer the user ever
// had is lost: a data file with a side record of where it came from.
struct RestorePoint {
    QString dataPath;    // the 264-byte data file
    QString recordPath;  // the side record
    QDateTime time;      // when it was kept (local time)
    QString origin;      // "before Download", "downloaded from the module", ...
    QString fileName;    // the data file the buffer came from, or empty
    QString firmwareId;  // the module's identification, or empty
};

// How a point's time is shown: in the list, the caption and qz1 alike.
QString restorePointTime(const RestorePoint& point);

// The restore point folder: the environment variable QZ_RESTORE_POINTS when set, else
// "restore-points" in the user's data folder for the program (on Linux
// ~/.local/share/Tunewell/QZ/restore-points).
QString restorePointFolder();

// The restore points of one folder. Each point is written atomically, its data file first
// and its record last, so a point is either whole or not listed.
class RestorePoints {
  public:
    static constexpr int kKept = 200;  // the newest this many are kept, older ones removed

    explicit RestorePoints(QString folder = restorePointFolder());

    // Every readable point, newest first. A record or data file that is unreadable,
    // foreign or half-written is passed over.
    std::vector<RestorePoint> list() const;

    // Keeps `image` as the newest point unless it has the same bytes as the newest one;
    // true when it was kept. Throws ProgramError when it cannot be written.
    bool keep(const EepromBytes& image, const QString& origin, const QString& fileName,
              const QString& firmwareId, const QDateTime& when = QDateTime::currentDateTime());

    // The image of a point. Throws ProgramError when it cannot be read.
    static EepromBytes read(const RestorePoint& point);

    const QString& folder() const { return folder_; }

  private:
    void removeOldest(std::vector<RestorePoint> points) const;
    QString folder_;
};

}  // namespace qz
