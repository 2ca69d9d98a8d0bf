#include "display_format.h"

#include "platform/config.h"

namespace platform::gdi {

bool DisplayIsPalettised() { return EnvOr("GLIMMER_PIXEL_FORMAT", "32") == "8"; }

}  // namespace platform::gdi
