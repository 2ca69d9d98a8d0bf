// Global and local memory. Every block is fixed (its handle is its address),
// which is all the engine asks for; the blocks the layer handed out are
// remembered, so that freeing or growing anything else fails cleanly instead
// of corrupting the heap.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "host_error.h"
#include "win32/kernel.h"

namespace {

std::mutex blocksLock;
std::unordered_map<void*, SIZE_T>& Blocks() {
  static std::unordered_map<void*, SIZE_T> blocks;
  return blocks;
}

// A block of at least one byte, so that a zero-size request still gets a
// handle of its own.
void* Allocate(SIZE_T bytes, bool zero) {
  void* block = zero ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
  if (block == nullptr) return platform::FailWith<void*>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
  std::lock_guard<std::mutex> hold(blocksLock);
  Blocks()[block] = bytes;
  return block;
}

}  // namespace

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) { return Allocate(bytes, (flags & GMEM_ZEROINIT) != 0); }

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags) {
  std::lock_guard<std::mutex> hold(blocksLock);
  auto found = Blocks().find(block);
  if (found == Blocks().end()) return platform::FailWith<HGLOBAL>(ERROR_INVALID_HANDLE, nullptr);
  SIZE_T old = found->second;
  if (bytes > old && !(flags & GMEM_MOVEABLE)) {
    // A fixed block may not move, and growing in place is not offered.
    return platform::FailWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
  }
  void* moved = std::realloc(block, bytes ? bytes : 1);
  if (moved == nullptr) return platform::FailWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
  if ((flags & GMEM_ZEROINIT) && bytes > old) std::memset(static_cast<char*>(moved) + old, 0, bytes - old);
  Blocks().erase(found);
  Blocks()[moved] = bytes;
  return moved;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL block) {
  if (block == nullptr) return nullptr;
  std::lock_guard<std::mutex> hold(blocksLock);
  auto found = Blocks().find(block);
  if (found == Blocks().end()) return platform::FailWith(ERROR_INVALID_HANDLE, block);
  Blocks().erase(found);
  std::free(block);
  return nullptr;
}

LPVOID WINAPI GlobalLock(HGLOBAL block) {
  std::lock_guard<std::mutex> hold(blocksLock);
  if (Blocks().count(block) == 0) return platform::FailWith<LPVOID>(ERROR_INVALID_HANDLE, nullptr);
  return block;
}

BOOL WINAPI GlobalUnlock(HGLOBAL block) {
  // A fixed block has no lock count: FALSE with no error, as on the platform.
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL block) {
  std::lock_guard<std::mutex> hold(blocksLock);
  auto found = Blocks().find(block);
  if (found == Blocks().end()) return platform::FailWith<SIZE_T>(ERROR_INVALID_HANDLE, 0);
  return found->second;
}

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) { return GlobalAlloc(flags, bytes); }

HLOCAL WINAPI LocalFree(HLOCAL block) { return GlobalFree(block); }
