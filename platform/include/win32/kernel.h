// Kernel services of the layer: files, the module and its command line, the
// Windows and temporary directories, directory searches, global memory, the
// tick count, the version query and the process exit.
//
// Paths are Windows-style: a POSIX path with every '/' turned into '\' and no
// drive letter ("\home\ann\.local\share\glimmerkit"). Every call that takes a
// path maps it back and, when a component does not exist under its exact
// name, finds it ignoring letter case, as the platform's file system does.
// Paths of MAX_PATH (260) characters or more are refused.
#pragma once

#include "win32/types.h"

typedef size_t SIZE_T;

// ---- errors ----------------------------------------------------------------

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BUFFER_OVERFLOW 111L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_BAD_PATHNAME 161L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_DIRECTORY 267L
#define ERROR_BADDB 1009L
#define ERROR_BADKEY 1010L
#define ERROR_CANTOPEN 1011L
#define ERROR_CANTREAD 1012L
#define ERROR_CANTWRITE 1013L
#define ERROR_KEY_DELETED 1018L

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// ---- Win16-compatible file calls --------------------------------------------

#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002
#define OF_SHARE_COMPAT 0x0000
#define OF_SHARE_EXCLUSIVE 0x0010
#define OF_SHARE_DENY_WRITE 0x0020
#define OF_SHARE_DENY_READ 0x0030
#define OF_SHARE_DENY_NONE 0x0040
#define OF_DELETE 0x0200
#define OF_CREATE 0x1000
#define OF_EXIST 0x4000

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

#define OFS_MAXPATHNAME 128

struct OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  CHAR szPathName[OFS_MAXPATHNAME];
};
typedef OFSTRUCT* LPOFSTRUCT;

// Opens an existing file (OF_READ, OF_WRITE, OF_READWRITE; the sharing bits
// are accepted and all files are shared). HFILE_ERROR when the file is
// missing, is a directory or the path is too long.
HFILE WINAPI _lopen(LPCSTR path, int mode);
// Creates or truncates a file for reading and writing.
HFILE WINAPI _lcreat(LPCSTR path, int attributes);
// The new position from the start, or HFILE_ERROR.
LONG WINAPI _llseek(HFILE file, LONG offset, int origin);
// Bytes read (fewer only at the end of the file), or (UINT)HFILE_ERROR.
UINT WINAPI _lread(HFILE file, LPVOID buffer, UINT count);
LONG WINAPI _hread(HFILE file, LPVOID buffer, LONG count);
UINT WINAPI _lwrite(HFILE file, LPCSTR buffer, UINT count);
LONG WINAPI _hwrite(HFILE file, LPCSTR buffer, LONG count);
// 0, or HFILE_ERROR for a handle that is not open.
HFILE WINAPI _lclose(HFILE file);
// OF_READ / OF_WRITE / OF_READWRITE open; with OF_CREATE creates or truncates;
// OF_EXIST opens and closes again (the result is then only a success flag);
// OF_DELETE deletes. Fills `info` (the path opened, or the error code).
HFILE WINAPI OpenFile(LPCSTR path, LPOFSTRUCT info, UINT style);
BOOL WINAPI DeleteFileA(LPCSTR path);

// ---- the module and its command line ----------------------------------------

// The program's own module, and the modules of the layer (such as the
// Windows 95/98 family's PASSWORD.CPL) that LoadLibraryA finds by file name,
// ignoring case and any folder; a name without an extension means ".DLL".
// Loading a module again gives the same handle and counts; FreeLibrary
// counts down. Anything else cannot be loaded: NULL, ERROR_MOD_NOT_FOUND.
HMODULE WINAPI LoadLibraryA(LPCSTR name);
BOOL WINAPI FreeLibrary(HMODULE module);
// NULL (ERROR_PROC_NOT_FOUND) for an export the module lacks or a number.
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);

// The path the program was started under, made absolute, links not resolved.
// 0 when the buffer cannot hold it whole (a cut path would name another file).
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
// NULL, or the program's own file name (with or without its folder): the
// program's module; a layer module's name while it is loaded: that module.
// Any other name: NULL (no such module is loaded).
HMODULE WINAPI GetModuleHandleA(LPCSTR name);
// The program's path in double quotes, then the arguments, blank-separated.
LPSTR WINAPI GetCommandLineA();

// Ends the process with `code` after the layer's exit hooks have run.
[[noreturn]] void WINAPI ExitProcess(UINT code);

// The engine's own entry, called by the layer's process entry.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

// ---- the structured exception guard -----------------------------------------

#define EXCEPTION_CONTINUE_EXECUTION (-1)
#define EXCEPTION_CONTINUE_SEARCH 0
#define EXCEPTION_EXECUTE_HANDLER 1

#define EXCEPTION_ACCESS_VIOLATION 0xC0000005u
#define EXCEPTION_IN_PAGE_ERROR 0xC0000006u
#define EXCEPTION_ILLEGAL_INSTRUCTION 0xC000001Du
#define EXCEPTION_FLT_INVALID_OPERATION 0xC0000090u
#define EXCEPTION_INT_DIVIDE_BY_ZERO 0xC0000094u
#define EXCEPTION_STACK_OVERFLOW 0xC00000FDu
#define EXCEPTION_MAXIMUM_PARAMETERS 15

struct EXCEPTION_RECORD {
  DWORD ExceptionCode;
  DWORD ExceptionFlags;
  EXCEPTION_RECORD* ExceptionRecord;
  LPVOID ExceptionAddress;
  DWORD NumberParameters;
  ULONG_PTR_ ExceptionInformation[EXCEPTION_MAXIMUM_PARAMETERS];
};

struct CONTEXT;  // the processor state; not given out by this layer

struct EXCEPTION_POINTERS {
  EXCEPTION_RECORD* ExceptionRecord;
  CONTEXT* ContextRecord;
};
typedef EXCEPTION_POINTERS* LPEXCEPTION_POINTERS;

// Reports the fault on standard error and answers EXCEPTION_EXECUTE_HANDLER.
LONG WINAPI UnhandledExceptionFilter(LPEXCEPTION_POINTERS info);

// What a __try / __except block does, for a compiler without one: runs
// body(context) on this thread; a fault inside it (a bad memory access, a
// division by zero, an illegal instruction, a stack overflow) is shown to
// filter(info, context). When the filter answers EXCEPTION_EXECUTE_HANDLER
// the body is abandoned and the call returns FALSE, for the caller to run
// its handler; any other answer lets the fault take its ordinary course (the
// process ends by the signal). TRUE when the body returned. Guards nest.
BOOL WINAPI RunUnderExceptionGuard(void (*body)(void* context),
                                   LONG (*filter)(LPEXCEPTION_POINTERS info, void* context), void* context);

// ---- directories --------------------------------------------------------------

// The data root. Length without the terminator; when the buffer is too small,
// the size needed including it; 0 on failure.
UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size);
// The private per-user temporary folder, ending in a backslash. Length as for
// GetWindowsDirectoryA.
DWORD WINAPI GetTempPathA(DWORD size, LPSTR buffer);
// Forms folder + first three characters of the prefix + the unique number in
// hexadecimal + ".TMP" into `name` (MAX_PATH bytes). A nonzero unique number
// (its low 16 bits) only forms the name and returns the number; 0 picks a free
// number and creates the file. 0 on failure (the name does not fit).
UINT WINAPI GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name);

// ---- directory searches -------------------------------------------------------

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAA* LPWIN32_FIND_DATAA;

// Names in the pattern's folder that match its last component under the
// platform's wildcard rules: letter case is ignored; '*' is any run; '?' is
// one character other than a dot, and a run of '?' that meets a dot or the
// end of the name matches fewer; a '.' before a wildcard or at the end also
// matches the end of a name without a dot ("juk?????.*" matches "juk.mp3"
// and "juk12", not "juk123456.mid"). Names come in letter-case-blind order.
// INVALID_HANDLE_VALUE when nothing matches.
HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data);
BOOL WINAPI FindClose(HANDLE search);

// ---- global and local memory --------------------------------------------------

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Every block is fixed: its handle is its address. A handle the layer did not
// hand out, or one already freed, fails cleanly.
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
// With GMEM_MOVEABLE the block may move; without it, it can only shrink or
// stay. GMEM_ZEROINIT zeroes the grown part. NULL on failure (the old block
// stays valid).
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
// NULL on success; the handle itself when it is not a live block.
HGLOBAL WINAPI GlobalFree(HGLOBAL block);
LPVOID WINAPI GlobalLock(HGLOBAL block);
BOOL WINAPI GlobalUnlock(HGLOBAL block);
SIZE_T WINAPI GlobalSize(HGLOBAL block);
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL WINAPI LocalFree(HLOCAL block);

// ---- time -----------------------------------------------------------------------

// Milliseconds on the layer's clock, wrapping at 2^32.
DWORD WINAPI GetTickCount();
// Waits on the layer's clock (virtual time just moves on); 0 yields.
void WINAPI Sleep(DWORD milliseconds);

// ---- version ----------------------------------------------------------------------

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
typedef OSVERSIONINFOA* LPOSVERSIONINFOA;

// The NT family, or the Windows 95/98 family when GLIMMER_PLATFORM=win9x.
// Fails unless the size field is sizeof(OSVERSIONINFOA) (148).
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info);

// ---- text helpers -------------------------------------------------------------------

// Single-byte code page: the next character is the next byte; NUL stays.
LPSTR WINAPI CharNextA(LPCSTR text);
int WINAPI lstrlenA(LPCSTR text);
LPSTR WINAPI lstrcpyA(LPSTR to, LPCSTR from);
LPSTR WINAPI lstrcpynA(LPSTR to, LPCSTR from, int size);
LPSTR WINAPI lstrcatA(LPSTR to, LPCSTR from);
int WINAPI lstrcmpA(LPCSTR a, LPCSTR b);
int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b);
// printf-style formatting into a buffer the platform takes as 1024 bytes:
// output is cut at 1023 characters. Returns the characters stored.
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...);
