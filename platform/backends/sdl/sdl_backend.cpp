#include "platform/backend.h"

namespace platform {

Backend* CreateSdlBackend() { return nullptr; }

}  // namespace platform
