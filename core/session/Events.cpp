#include "core/session/Events.h"

namespace vorn {
namespace {

SessionEvents defaultEvents;
SessionEvents* installedEvents = nullptr;

}  // namespace

SessionEvents* SetSessionEvents(SessionEvents* events) {
    SessionEvents* old = installedEvents;
    installedEvents = events;
    return old;
}

SessionEvents& Events() {
    return installedEvents ? *installedEvents : defaultEvents;
}

}  // namespace vorn
