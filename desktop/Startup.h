#pragma once

#include <memory>
#include <string>

namespace vorn {

class TMainForm;

// The start-up sequence up to the event loop: the splash until it closes itself, the
// application's title, the main window maximized (which reads the settings in
// `iniPath`), the About box once, then the identification of a VORN that did not close
// normally when the user restores it, else the key named on the command line
// (`keyArgument`, an absolute path), else the key of the last run.
std::unique_ptr<TMainForm> StartUp(const std::string& iniPath, const std::string& keyArgument);

}  // namespace vorn
