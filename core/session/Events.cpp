#include "core/session/Events.h"

namespace vorn {
namespace {

SessionEvents defaultEvents;

}  // namespace

SessionEvents& NoEvents() {
    return defaultEvents;
}

}  // namespace vorn
