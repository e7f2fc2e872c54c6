#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>

#include "core/module_data.h"
#include "core/program_error.h"

namespace qz {

// A data file is the image alone: 264 bytes, byte n being EEPROM address 16 + n. No header,
// length, version or checksum.
using ImageBytes = std::array<std::uint8_t, kImageSize>;

inline constexpr std::uint32_t kInputPastEndErrorNumber = 62;

// A data file ended before its 264th byte.
class PrematureEndOfFile : public ProgramError {
  public:
    explicit PrematureEndOfFile(long long bytesRead);
    long long bytesRead() const { return bytesRead_; }

  private:
    long long bytesRead_;
};

// Refuses at once (ProgramError naming the path, with `source` as its source) anything that
// is not a regular file: reading a pipe or a device could wait for ever, or never end.
void requireRegularFile(const QString& path, const char* source);

// Reads the first 264 bytes of a data file; anything after them is ignored. Throws
// PrematureEndOfFile for a shorter file and ProgramError with the system's description
// when the file cannot be opened or read, or is not a regular file.
ImageBytes readDataFile(const QString& path);

// Reads a data file into addresses 16-279 of the buffer and marks the buffer loaded. On
// any failure it throws and the target is left exactly as it was.
void loadDataFile(const QString& path, ModuleData& data);

// Writes `bytes` as the whole file at `path`: to a temporary file in the same folder, renamed
// over the target only when every byte is written, so a failed or interrupted write leaves
// the old file as it was. A target that exists and is not a regular file (a device, a
// pipe, a folder) is refused, never replaced. Throws ProgramError naming the path, with
// `source` as its source.
void writeFileAtomically(const QString& path, QByteArrayView bytes, const char* source);

// Writes addresses 16-279 as a file of exactly 264 bytes. The file is written whole to a
// temporary file in the same folder and then renamed over the target, so a failed or
// interrupted save leaves the old file as it was. Throws ProgramError on failure.
void writeDataFile(const QString& path, const EepromBytes& buffer);

}  // namespace qz
