#include "frame/Guarded.h"

#include "core/platform/Messages.h"

namespace vorn {

void ReportError(const std::exception& error) {
    ShowError(error.what());
}

}  // namespace vorn
