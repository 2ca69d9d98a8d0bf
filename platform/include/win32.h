// The Win32-shaped interface the engine calls. Everything here is declared in
// the global namespace with the platform's names; the layer's own machinery
// (backends, clock, test hooks) lives in namespace platform, in headers under
// platform/ that the engine does not include.
#pragma once

#include "win32/types.h"
#include "win32/kernel.h"
#include "win32/advapi.h"
#include "win32/user.h"
#include "win32/gdi.h"
#include "win32/wgl.h"
#include "win32/mci.h"
#include "win32/listbox.h"
#include "win32/shell.h"
#include "win32/crt.h"
