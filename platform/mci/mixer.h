// The mixer behind the song devices: SDL2_mixer opened once per process, on
// the system's audio output when there is one, else on SDL's silent driver
// so that the decoders still work and songs are only timed.
#pragma once

namespace platform {

// Opens the mixer on first use. False when not even the silent driver opens.
bool MixerReady();

// True when songs are heard (a real output, or SDL's disk writer); false
// when the output is silent (SDL_AUDIODRIVER=dummy, or no device opened), in
// which case the devices time every song themselves.
bool MixerHeard();

}  // namespace platform
