// Songs: the song files lying beside the content package play one after
// another, without end, while the saver runs full-screen with sound on.
//
// The playlist is a hidden, sorted list box, child of the scene window, one
// full path an entry. It plays in alphabetical order, or, when the first
// song file the directory search returns has "_" as its fourth character, in
// an order reshuffled at every wrap (never starting a pass with the song that
// ended the pass before). Each song plays through the multimedia command
// interface; its end posts MM_MCINOTIFY to the scene window, which starts the
// next one.
//
// How the scene window drives the songs (all on its own thread):
//
//   WM_CREATE    after the package's name has been read, before the pictures:
//                StartSongs(sceneWindow, packagePath, saverName).
//   MM_MCINOTIFY return AdvanceSongs(wParam);  never DefWindowProcA.
//   WM_DESTROY   first of all: StopSongs().
//
// Between these calls the state below belongs to this module; `songDevice`
// is the scene's playing device and only these procedures touch it.
#pragma once

#include <cstdint>

#include "win32.h"

// The song list box, null when there are no songs.
extern HWND songList;
// The window MCI tells when a song ends: the scene window.
extern HWND songNotifyWindow;
// Nonzero: reshuffle at every wrap.
extern int shuffleSongs;
// 1 until the first reshuffle has been made.
extern int firstShuffle;
// Index of the next song to play; 0x7FFFFFFF when the list is new, so that
// the first request wraps (and shuffles).
extern int32_t nextSong;
// The open song device, 0 = none.
extern MCIDEVICEID songDevice;

// Control id and window name of the song list box.
#define SONG_LIST_ID 729

// Makes the list box (sorted when `sorted` is nonzero) as a hidden child of
// `parent`, which also becomes the notified window, and resets the playlist.
// The list box, or null.
HWND CreateSongList(int shuffle, HWND parent, int controlId, int sorted);

// Adds a song by its full path. 1 when added; 0 without a list, or for a
// path that does not fit 260 bytes with its terminating zero.
int AddSong(LPCSTR path);

// Closes the song in `*device` and opens and plays the next one, wrapping
// (and reshuffling) at the end of the list. 1 when a song plays, 0 when none
// could be started: then the music stays silent for the rest of the run.
int PlayNextSong(MCIDEVICEID* device);

// Destroys the list box. 1 when there was one and it is gone.
int DestroySongList();

HWND GetSongList();

// The song start. Nothing in preview (the scene's parent has a parent), with
// "Sound" 0 for this saver, or without song files beside the package at
// `packagePath`. A saver name too long for the settings key is treated as a
// key that cannot be read (sound on); song files whose path would not fit
// 260 bytes are left out of the list.
void StartSongs(HWND sceneWindow, LPCSTR packagePath, LPCSTR saverName);

// The song advance: on MCI_NOTIFY_SUCCESSFUL with a list, the next song; any
// other code (superseded, aborted, failure) is ignored. Always 0, the result
// of the notification message.
LRESULT AdvanceSongs(WPARAM notifyCode);

// The song teardown: with a list, destroys it and stops and closes
// `songDevice` (waiting for each), leaving it 0. Without a list, no command
// is sent.
void StopSongs();
