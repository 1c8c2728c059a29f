// Storage of the installed host services.
#include "platform/Host.h"

namespace platform {

namespace {
THost CurrentHost;
}

THost& Host() { return CurrentHost; }
void SetHost(const THost& host) { CurrentHost = host; }

}  // namespace platform
