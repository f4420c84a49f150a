#pragma once

#include <string>

namespace vorn {

// The settings file: "VORNWIN.INI" in $XDG_CONFIG_HOME/vorn/ (~/.config/vorn/), read once
// when the main window is first shown and written once when it closes.
constexpr char SettingsFileName[] = "VORNWIN.INI";

class Session;

// Reads the start-up key, the working directory (made current; a missing one is told to
// the user), the key history and the display modes into `session`. Missing values keep
// their defaults.
void ReadSettings(Session& session, const std::string& iniPath);
// Writes them back; a failure is told to the user ("Unable to write to ...") unless `tell`
// is false. Returns whether the file was written.
bool WriteSettings(const Session& session, const std::string& iniPath, bool tell = true);
// Opens the start-up key read from the settings, if any.
void OpenStartupKey(Session& session);

}  // namespace vorn
