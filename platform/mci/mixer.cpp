#include "mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace platform {
namespace {

std::once_flag opened;
bool ready = false;
bool heard = false;

// The General MIDI sound font for FluidSynth, found without configuration:
// SDL_SOUNDFONTS when set, else Debian's default font, else a few usual ones.
void ChooseSoundFont() {
  const char* chosen = std::getenv("SDL_SOUNDFONTS");
  const char* candidates[] = {"/usr/share/sounds/sf3/default-GM.sf3",
                              "/usr/share/sounds/sf2/default-GM.sf2",
                              "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                              "/usr/share/sounds/sf2/TimGM6mb.sf2"};
  for (const char* path : candidates) {
    struct stat info;
    if (chosen != nullptr && chosen[0] != '\0') break;
    if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) chosen = path;
  }
  if (chosen != nullptr) Mix_SetSoundFonts(chosen);
}

bool OpenOutput() { return Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) == 0; }

void CloseMixer() {
  Mix_HookMusicFinished(nullptr);
  Mix_HaltMusic();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void Open() {
  bool audio = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (audio) {
    Mix_Init(MIX_INIT_MID | MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_OPUS);
    ChooseSoundFont();
  }
  if (audio && OpenOutput()) {
    const char* driver = SDL_GetCurrentAudioDriver();
    heard = driver != nullptr && std::string(driver) != "dummy";
    ready = true;
  } else {
    // No usable device: the silent driver still lets the decoders work.
    if (audio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (ready && !audio) {
      Mix_Init(MIX_INIT_MID | MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_OPUS);
      ChooseSoundFont();
    }
    ready = ready && OpenOutput();
    heard = false;
  }
  if (ready) std::atexit(CloseMixer);
}

}  // namespace

bool MixerReady() {
  std::call_once(opened, Open);
  return ready;
}

bool MixerHeard() { return MixerReady() && heard; }

}  // namespace platform
