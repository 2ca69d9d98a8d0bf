// Window and screen device contexts come with the window system's backing
// stores; until then a context only ever draws into bitmaps.
#include "draw_target.h"
#include "platform/config.h"

namespace platform::gdi {

void ResolveWindowTargets(const Dc&, std::vector<Target>*) {}

void MarkTargetChanged(const Target&, const RECT&) {}

void ScreenSize(int* width, int* height) { ConfiguredScreenSize(width, height); }

}  // namespace platform::gdi
