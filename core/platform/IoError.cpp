#include "core/platform/IoError.h"

namespace vorn {

IoError::IoError(const std::string& fileName, const std::string& action, const std::string& reason)
    : std::runtime_error("Cannot " + action + " \"" + fileName + "\": " + reason + "."),
      fileName_(fileName),
      reason_(reason) {}

}  // namespace vorn
