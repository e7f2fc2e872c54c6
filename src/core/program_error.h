#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qz {

// Application-defined errors are numbered 1000 above the platform's base for them.
inline constexpr std::uint32_t kAppErrorNumber = 0x800403E8;
inline constexpr std::uint32_t kSaveDialogErrorNumber = 0x800403E9;

// Run-time error numbers used by the program's own checks.
inline constexpr std::uint32_t kInvalidCallErrorNumber = 5;
inline constexpr std::uint32_t kOverflowErrorNumber = 6;
inline constexpr std::uint32_t kFileNotFoundErrorNumber = 53;
inline constexpr std::uint32_t kInvalidPictureErrorNumber = 481;
inline constexpr std::uint32_t kFileAccessErrorNumber = 75;

// A failure that the error trap reports: a number, a source naming the area ("File Open",
// "Comm Error") and a description. Only the description is shown in the message itself; a
// detail (where in which file the failure lies) is shown on request below it.
class ProgramError : public std::runtime_error {
  public:
    ProgramError(std::uint32_t number, std::string source, const std::string& description,
                 std::string detail = {});

    std::uint32_t number() const { return number_; }
    const std::string& source() const { return source_; }
    std::string description() const { return what(); }
    const std::string& detail() const { return detail_; }

  private:
    std::uint32_t number_;
    std::string source_;
    std::string detail_;
};

// An error the program raises itself, numbered kAppErrorNumber unless told otherwise.
ProgramError appError(std::string source, const std::string& description,
                      std::uint32_t number = kAppErrorNumber);

// The run-time error of a conversion whose result does not fit its type.
ProgramError overflowError();

}  // namespace qz
