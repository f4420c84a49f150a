#pragma once

#include <string>

namespace vorn {

// The settings file: "VORNWIN.INI" in $XDG_CONFIG_HOME/vorn/ (~/.config/vorn/), read once
// when the main window is first shown and written once when it closes.
constexpr const char* SettingsFileName = "VORNWIN.INI";

// The working directory that the settings made current at start, or empty when they name
// none (or one that is gone): a first start, for the Open Key dialog.
inline std::string InitialWorkDir;

// Reads the start-up key, the working directory (made current; a missing one is told to
// the user), the key history and the display modes. Missing values keep their defaults.
void ReadSettings(const std::string& iniPath);
// Writes them back; a failure is told to the user ("Unable to write to ..."). Returns
// whether the file was written.
bool WriteSettings(const std::string& iniPath);
// Opens the start-up key read from the settings, if any.
void OpenStartupKey();

}  // namespace vorn
