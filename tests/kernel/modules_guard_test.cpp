#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "platform/modules.h"
#include "platform/process.h"
#include "win32.h"

namespace {

BOOL WINAPI FakeVerify(HWND) { return TRUE; }

// Exports are kept as FARPROC, as GetProcAddress gives them.
FARPROC AsExport(BOOL(WINAPI* procedure)(HWND)) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(procedure));
}

bool OnlyWin9x() { return platform::PlatformIsWin9x(); }

TEST(LayerModules, LoadFindFreeByName) {
  platform::ModuleExport exports[] = {{"VerifyScreenSavePwd", AsExport(&FakeVerify)}};
  platform::RegisterLayerModule("PASSWORD.CPL", exports, 1);

  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);  // not loaded yet
  HMODULE module = LoadLibraryA("password.cpl");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(LoadLibraryA("C:\\WINDOWS\\SYSTEM\\PASSWORD.CPL"), module);  // counted, same handle
  EXPECT_EQ(GetModuleHandleA("Password.Cpl"), module);
  EXPECT_EQ(GetProcAddress(module, "VerifyScreenSavePwd"), AsExport(&FakeVerify));
  EXPECT_EQ(GetProcAddress(module, "verifyscreensavepwd"), nullptr);  // export names keep their case
  EXPECT_EQ(GetProcAddress(module, "PwdChangePasswordA"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(1)), nullptr);

  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), module);  // one load left
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
  // The handle is stale now.
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetProcAddress(module, "VerifyScreenSavePwd"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(LayerModules, UnknownOrUnavailableModulesDoNotLoad) {
  platform::ModuleExport exports[] = {{"PwdChangePasswordA", AsExport(&FakeVerify)}};
  platform::RegisterLayerModule("MPR.DLL", exports, 1, OnlyWin9x);
  unsetenv("GLIMMER_PLATFORM");
  EXPECT_EQ(LoadLibraryA("MPR.DLL"), nullptr);
  setenv("GLIMMER_PLATFORM", "win9x", 1);
  HMODULE module = LoadLibraryA("mpr");  // ".DLL" is understood
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(LoadLibraryA("mpr."), nullptr);  // a trailing dot: no extension at all
  EXPECT_EQ(LoadLibraryA("IMM32.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(GetModuleHandleA("IMM32.DLL"), nullptr);
}

// The guard: what the fault looked like, and how often the filter ran.
struct Seen {
  DWORD code = 0;
  int filterCalls = 0;
  LONG verdict = EXCEPTION_EXECUTE_HANDLER;
};

LONG Filter(LPEXCEPTION_POINTERS info, void* context) {
  Seen* seen = static_cast<Seen*>(context);
  seen->code = info->ExceptionRecord->ExceptionCode;
  ++seen->filterCalls;
  return seen->verdict;
}

void WriteThroughNull(void*) {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

void DivideByZero(void*) {
  volatile int zero = 0;
  volatile int result = 10 / zero;
  (void)result;
}

void Fine(void* context) { ++static_cast<Seen*>(context)->filterCalls; }

TEST(ExceptionGuard, FaultsReachTheFilterAndTheHandlerRuns) {
  struct Case {
    void (*body)(void*);
    DWORD code;
  };
  const Case cases[] = {{WriteThroughNull, EXCEPTION_ACCESS_VIOLATION}, {DivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO}};
  for (const Case& c : cases) {
    Seen seen;
    EXPECT_FALSE(RunUnderExceptionGuard(c.body, Filter, &seen));
    EXPECT_EQ(seen.code, c.code);
    EXPECT_EQ(seen.filterCalls, 1);
  }
  // Again, after faults: the guard still works, and a clean body returns TRUE.
  Seen seen;
  EXPECT_TRUE(RunUnderExceptionGuard(Fine, Filter, &seen));
  EXPECT_EQ(seen.filterCalls, 1);
  EXPECT_FALSE(RunUnderExceptionGuard(WriteThroughNull, Filter, &seen));
}

void InnerFault(void* context) {
  Seen* seen = static_cast<Seen*>(context);
  Seen inner;
  EXPECT_FALSE(RunUnderExceptionGuard(WriteThroughNull, Filter, &inner));
  EXPECT_EQ(inner.filterCalls, 1);
  ++seen->filterCalls;
  WriteThroughNull(nullptr);  // now the outer guard's turn
}

TEST(ExceptionGuard, GuardsNest) {
  Seen outer;
  EXPECT_FALSE(RunUnderExceptionGuard(InnerFault, Filter, &outer));
  EXPECT_EQ(outer.filterCalls, 2);  // one for the inner body's count, one for its own fault
  EXPECT_EQ(outer.code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST(ExceptionGuard, UnhandledExceptionFilterRunsTheHandler) {
  auto filter = [](LPEXCEPTION_POINTERS info, void*) { return UnhandledExceptionFilter(info); };
  testing::internal::CaptureStderr();
  EXPECT_FALSE(RunUnderExceptionGuard(WriteThroughNull, filter, nullptr));
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("C0000005"), std::string::npos) << report;
}

TEST(ExceptionGuard, OtherVerdictsLetTheFaultEndTheProcess) {
  pid_t child = fork();
  if (child == 0) {
    Seen seen;
    seen.verdict = EXCEPTION_CONTINUE_SEARCH;
    RunUnderExceptionGuard(WriteThroughNull, Filter, &seen);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);
}

}  // namespace
