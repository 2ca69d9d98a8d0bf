// System metrics and the system settings the saver reads and changes. The
// screen-saver settings are the layer's own state for this process: there is
// no system-wide screen-saver service behind them on Linux.
#include "platform/backend.h"
#include "platform/testing.h"
#include "window_system.h"

namespace platform {
namespace {

struct Settings {
  BOOL screenSaveActive = TRUE;
  BOOL screenSaverRunning = FALSE;
  UINT screenSaveTimeout = 600;  // seconds
};

Settings& TheSettings() {
  static Settings* settings = new Settings;
  return *settings;
}

}  // namespace

bool ScreenSaverActiveSetting() { return TheSettings().screenSaveActive != FALSE; }
bool ScreenSaverRunningSetting() { return TheSettings().screenSaverRunning != FALSE; }

}  // namespace platform

using namespace platform;

int WINAPI GetSystemMetrics(int index) {
  int width = 0, height = 0;
  CurrentBackend().ScreenSize(&width, &height);
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
      return width;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CYVIRTUALSCREEN:
      return height;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
      return 0;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CYCAPTION:
      return 19;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 16;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_MOUSEPRESENT:
    case SM_CMONITORS:
      return 1;
    default:
      return 0;
  }
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni) {
  Settings& settings = TheSettings();
  switch (action) {
    case SPI_GETSCREENSAVEACTIVE:
      if (pvParam == nullptr) return FALSE;
      *static_cast<BOOL*>(pvParam) = settings.screenSaveActive;
      return TRUE;
    case SPI_SETSCREENSAVEACTIVE:
      settings.screenSaveActive = uiParam != 0 ? TRUE : FALSE;
      return TRUE;
    case SPI_GETSCREENSAVETIMEOUT:
      if (pvParam == nullptr) return FALSE;
      *static_cast<UINT*>(pvParam) = settings.screenSaveTimeout;
      return TRUE;
    case SPI_SETSCREENSAVETIMEOUT:
      settings.screenSaveTimeout = uiParam;
      return TRUE;
    case SPI_SETSCREENSAVERRUNNING:
      // The previous state goes back through pvParam when one is given.
      if (pvParam != nullptr) *static_cast<BOOL*>(pvParam) = settings.screenSaverRunning;
      settings.screenSaverRunning = uiParam != 0 ? TRUE : FALSE;
      return TRUE;
    case SPI_GETSCREENSAVERRUNNING:
      if (pvParam == nullptr) return FALSE;
      *static_cast<BOOL*>(pvParam) = settings.screenSaverRunning;
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL WINAPI MessageBeep(UINT type) { return TRUE; }
