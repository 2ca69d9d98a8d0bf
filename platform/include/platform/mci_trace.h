// What the song devices were asked to do, for tests: every mciSendCommandA
// call in order with its result, and whether songs are heard or only timed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win32/mci.h"

namespace platform {

struct MciCall {
  MCIDEVICEID device;
  UINT command;
  DWORD flags;
  std::string element;  // MCI_OPEN: the element name given, if any
  std::string type;     // MCI_OPEN: the device type name given, if any
  MCIERROR result;
  uint64_t at;  // the layer's clock when the command was sent
};

std::vector<MciCall> MciCalls();
void ClearMciCalls();

// True when songs play on an audio output (see mixer.h), false when the
// devices only time them.
bool MciSongsHeard();

// Devices open now.
int MciOpenDeviceCount();

}  // namespace platform
