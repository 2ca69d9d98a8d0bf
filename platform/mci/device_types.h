// The song device types and which file extensions open which, as the
// platform's own table has them.
#pragma once

#include <string>

namespace platform {

enum class SongDeviceType { kNone, kWaveAudio, kSequencer, kMpegVideo };

// The device for a file, from the extension of its last path component (case
// ignored); kNone for a name without extension or with one no device claims.
SongDeviceType DeviceTypeForElement(const char* path);

// The device named by an MCI_OPEN_TYPE name ("waveaudio", "sequencer",
// "MPEGVideo", case ignored); kNone for any other name.
SongDeviceType DeviceTypeForName(const char* name);

}  // namespace platform
