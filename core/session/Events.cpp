#include "core/session/Events.h"

namespace vorn {
namespace {

SessionEvents none;
SessionEvents* installed = nullptr;

}  // namespace

SessionEvents* SetSessionEvents(SessionEvents* events) {
    SessionEvents* old = installed;
    installed = events;
    return old;
}

SessionEvents& Events() {
    return installed ? *installed : none;
}

}  // namespace vorn
