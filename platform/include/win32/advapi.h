// Registry services of the layer: HKEY_CURRENT_USER only, kept in a text file
// in the platform's own export format (REGEDIT4), at $GLIMMER_REGISTRY, else
// $XDG_CONFIG_HOME/glimmerkit/user.reg (~/.config/glimmerkit/user.reg).
//
// Key and value names ignore letter case and keep the case they were written
// with. Every call reads the file afresh, and every change is a locked
// read-modify-write that replaces the file whole, so several processes (the
// settings dialog and a running saver) share it without losing values. The
// calls return the platform's error codes (ERROR_SUCCESS is 0).
#pragma once

#include "win32/kernel.h"
#include "win32/types.h"

typedef DWORD REGSAM;
typedef LONG LSTATUS;

#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002u)
#define HKEY_USERS ((HKEY)(uintptr_t)0x80000003u)

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define REG_OPTION_NON_VOLATILE 0x0
#define REG_OPTION_VOLATILE 0x1

#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

// The longest key path below HKEY_CURRENT_USER, in characters.
#define GLIMMER_MAX_KEY_PATH 255

// Opens an existing key below `parent` (HKEY_CURRENT_USER or an open key).
// ERROR_FILE_NOT_FOUND when it does not exist; ERROR_INVALID_PARAMETER for a
// path longer than GLIMMER_MAX_KEY_PATH; ERROR_INVALID_HANDLE for a parent
// that is not open (closed, or another hive).
LSTATUS WINAPI RegOpenKeyA(HKEY parent, LPCSTR subKey, PHKEY result);
LSTATUS WINAPI RegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating it and every missing key above it.
LSTATUS WINAPI RegCreateKeyExA(HKEY parent, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                               REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                               LPDWORD disposition);
LSTATUS WINAPI RegCreateKeyA(HKEY parent, LPCSTR subKey, PHKEY result);
// Reads a value (a null or empty name is the key's default value). With no
// data buffer only the size is given; a buffer too small gives
// ERROR_MORE_DATA and the size needed. Strings come with their terminator.
LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                LPDWORD size);
LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR name);
LSTATUS WINAPI RegCloseKey(HKEY key);
