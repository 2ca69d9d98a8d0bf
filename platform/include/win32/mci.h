// The multimedia command interface of the layer: songs are opened, played,
// stopped and closed as devices through mciSendCommandA, and the end of a
// notifying play is posted to a window as MM_MCINOTIFY.
//
// Devices: "waveaudio" (WAVE files), "sequencer" (standard MIDI files, also
// inside an RMID wrapper) and "MPEGVideo" (whatever the decoders read: MP3,
// OGG, FLAC, WAVE, MIDI...). Opening by element alone picks the device from
// the file's extension: .wav waveaudio; .mid, .midi, .rmi sequencer; .mp3 and
// the other MPEG extensions MPEGVideo; any other extension fails with
// MCIERR_EXTENSION_NOT_FOUND.
#pragma once

#include "win32/types.h"

typedef DWORD MCIERROR;
typedef UINT MCIDEVICEID;

// Commands.
#define MCI_OPEN 0x0803
#define MCI_CLOSE 0x0804
#define MCI_PLAY 0x0806
#define MCI_STOP 0x0808

// Flags common to every command.
#define MCI_NOTIFY 0x00000001L
#define MCI_WAIT 0x00000002L

// MCI_OPEN flags.
#define MCI_OPEN_SHAREABLE 0x00000100L
#define MCI_OPEN_ELEMENT 0x00000200L
#define MCI_OPEN_ALIAS 0x00000400L
#define MCI_OPEN_TYPE_ID 0x00001000L
#define MCI_OPEN_TYPE 0x00002000L

// The notification message: wParam one of the codes below, lParam the
// device id.
#define MM_MCINOTIFY 0x03B9
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008

// Error results (0 is success).
#define MCIERR_BASE 256
#define MCIERR_INVALID_DEVICE_ID (MCIERR_BASE + 1)
#define MCIERR_UNRECOGNIZED_COMMAND (MCIERR_BASE + 5)
#define MCIERR_HARDWARE (MCIERR_BASE + 6)
#define MCIERR_INVALID_DEVICE_NAME (MCIERR_BASE + 7)
#define MCIERR_OUT_OF_MEMORY (MCIERR_BASE + 8)
#define MCIERR_MISSING_PARAMETER (MCIERR_BASE + 17)
#define MCIERR_UNSUPPORTED_FUNCTION (MCIERR_BASE + 18)
#define MCIERR_FILE_NOT_FOUND (MCIERR_BASE + 19)
#define MCIERR_EXTENSION_NOT_FOUND (MCIERR_BASE + 25)
#define MCIERR_FLAGS_NOT_COMPATIBLE (MCIERR_BASE + 28)
#define MCIERR_INVALID_FILE (MCIERR_BASE + 40)
#define MCIERR_NULL_PARAMETER_BLOCK (MCIERR_BASE + 41)

// Parameter blocks. dwCallback carries the window that receives
// MM_MCINOTIFY when MCI_NOTIFY is given.
struct MCI_GENERIC_PARMS {
  DWORD_PTR dwCallback;
};
typedef MCI_GENERIC_PARMS* LPMCI_GENERIC_PARMS;

struct MCI_OPEN_PARMSA {
  DWORD_PTR dwCallback;
  MCIDEVICEID wDeviceID;  // receives the new device's id
  LPCSTR lpstrDeviceType;  // with MCI_OPEN_TYPE
  LPCSTR lpstrElementName;  // with MCI_OPEN_ELEMENT
  LPCSTR lpstrAlias;
};
typedef MCI_OPEN_PARMSA MCI_OPEN_PARMS;
typedef MCI_OPEN_PARMSA* LPMCI_OPEN_PARMSA;
typedef MCI_OPEN_PARMSA* LPMCI_OPEN_PARMS;

struct MCI_PLAY_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwFrom;
  DWORD dwTo;
};
typedef MCI_PLAY_PARMS* LPMCI_PLAY_PARMS;

// Sends `command` to device `device` (0 for MCI_OPEN). `flags` says which
// fields of the block at `param` count. 0 on success, else an MCIERR_ value.
MCIERROR WINAPI mciSendCommandA(MCIDEVICEID device, UINT command, DWORD_PTR flags,
                                DWORD_PTR param);
