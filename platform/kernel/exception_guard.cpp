// The structured exception guard on signals. A fault raises SIGSEGV, SIGBUS,
// SIGFPE or SIGILL on the faulting thread; the handler describes it as the
// platform would (an EXCEPTION_RECORD), asks the innermost guard's filter of
// that thread, and jumps back to the guard when the filter asks for the
// handler. Handlers run on an alternate stack, so a stack overflow is caught
// too. A thread without a guard gets the signal's previous action.
#include <setjmp.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "win32/kernel.h"

namespace {

struct Guard {
  sigjmp_buf jump;
  LONG (*filter)(LPEXCEPTION_POINTERS, void*);
  void* context;
  Guard* outer;
};

const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction previous[4];
std::once_flag installed;

thread_local Guard* innermost = nullptr;
thread_local EXCEPTION_RECORD record;
thread_local EXCEPTION_POINTERS pointers;
thread_local bool stackReady = false;
const size_t kAlternateStackSize = 64 * 1024;

int IndexOf(int signal) {
  for (int i = 0; i < 4; ++i) {
    if (kSignals[i] == signal) return i;
  }
  return 0;
}

DWORD CodeFor(int signal, const siginfo_t* info) {
  switch (signal) {
    case SIGSEGV: return EXCEPTION_ACCESS_VIOLATION;
    case SIGBUS: return EXCEPTION_IN_PAGE_ERROR;
    case SIGILL: return EXCEPTION_ILLEGAL_INSTRUCTION;
    case SIGFPE:
      return info->si_code == FPE_INTDIV ? EXCEPTION_INT_DIVIDE_BY_ZERO : EXCEPTION_FLT_INVALID_OPERATION;
  }
  return EXCEPTION_ACCESS_VIOLATION;
}

// Gives the signal back to whoever had it before, and lets the faulting
// instruction run again, which raises it there.
void PassOn(int signal) {
  sigaction(signal, &previous[IndexOf(signal)], nullptr);
}

void OnFault(int signal, siginfo_t* info, void*) {
  Guard* guard = innermost;
  if (guard == nullptr) {
    PassOn(signal);
    return;
  }
  std::memset(&record, 0, sizeof record);
  record.ExceptionCode = CodeFor(signal, info);
  record.ExceptionAddress = info->si_addr;
  if (signal == SIGSEGV || signal == SIGBUS) {
    // Read or write is not known here: reported as a read.
    record.NumberParameters = 2;
    record.ExceptionInformation[1] = reinterpret_cast<ULONG_PTR_>(info->si_addr);
  }
  pointers.ExceptionRecord = &record;
  pointers.ContextRecord = nullptr;
  // The filter runs outside the guard: a fault inside it goes to the next
  // guard out.
  innermost = guard->outer;
  LONG verdict = guard->filter != nullptr ? guard->filter(&pointers, guard->context) : EXCEPTION_EXECUTE_HANDLER;
  if (verdict == EXCEPTION_EXECUTE_HANDLER) siglongjmp(guard->jump, 1);
  innermost = guard;
  PassOn(signal);
}

void Install() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 4; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

void PrepareStack() {
  if (stackReady) return;
  // Kept for the thread's life: the handler may need it at any later fault.
  void* memory = std::malloc(kAlternateStackSize);
  if (memory == nullptr) return;
  stack_t stack;
  std::memset(&stack, 0, sizeof stack);
  stack.ss_sp = memory;
  stack.ss_size = kAlternateStackSize;
  if (sigaltstack(&stack, nullptr) == 0) stackReady = true;
}

}  // namespace

LONG WINAPI UnhandledExceptionFilter(LPEXCEPTION_POINTERS info) {
  // Formatted by hand: this runs inside a signal handler.
  char text[128];
  int length = 0;
  if (info != nullptr && info->ExceptionRecord != nullptr) {
    length = std::snprintf(text, sizeof text, "glimmerkit: fault %08X at %p\n",
                           static_cast<unsigned>(info->ExceptionRecord->ExceptionCode),
                           info->ExceptionRecord->ExceptionAddress);
  } else {
    length = std::snprintf(text, sizeof text, "glimmerkit: fault\n");
  }
  if (length > 0) {
    ssize_t ignored = write(STDERR_FILENO, text, static_cast<size_t>(length));
    (void)ignored;
  }
  return EXCEPTION_EXECUTE_HANDLER;
}

BOOL WINAPI RunUnderExceptionGuard(void (*body)(void*), LONG (*filter)(LPEXCEPTION_POINTERS, void*),
                                   void* context) {
  if (body == nullptr) return TRUE;
  std::call_once(installed, Install);
  PrepareStack();
  Guard guard;
  guard.filter = filter;
  guard.context = context;
  guard.outer = innermost;
  if (sigsetjmp(guard.jump, 1) != 0) {
    // Back from a fault whose filter chose the handler.
    innermost = guard.outer;
    return FALSE;
  }
  innermost = &guard;
  body(context);
  innermost = guard.outer;
  return TRUE;
}
