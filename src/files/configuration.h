#pragma once

#include <QString>
#include <string>
#include <vector>

#include "core/error_trap.h"
#include "core/program_state.h"

namespace qz {

inline constexpr auto kConfigurationFile = "Tunewell_QZ.cfg";

// The branding used when there is no configuration file.
std::vector<std::string> defaultSplashSettings();
std::vector<std::string> defaultCompanyInfo();

// Reads the configuration file into SplashSettings and CompanyInfo. Lines whose first
// character is "!" are markers: leading markers are skipped, section 1 (the splash
// settings) runs to the next marker, section 2 (the company information) to the end of the
// file or the next marker. Without the file both lists take the built-in defaults.
// Reading past the end of the file inside section 1 is the run-time error "Input past end
// of file", reported through the trap; with Ignore the reading stops there.
void readConfiguration(const QString& path, ProgramState& state, ErrorTrap& trap);

// The About box text: the company and version, the author's notice, an empty line, then
// every CompanyInfo item from the second on its own line.
std::string aboutText(const std::vector<std::string>& companyInfo);

// The author's notice, shown on the splash window and in the About box.
inline constexpr auto kAuthorNotice = "Written by the Tunewell QZ development team.";

}  // namespace qz
