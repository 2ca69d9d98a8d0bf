#include <gtest/gtest.h>

#include <cstring>

#include "platform/clock.h"
#include "win32.h"

namespace {

TEST(GlobalMemory, FixedBlocksGrowZeroedAndMove) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 40);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);  // a fixed block's handle is its address
  EXPECT_EQ(GlobalSize(block), 40u);
  unsigned char* bytes = static_cast<unsigned char*>(block);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(bytes[i], 0) << i;
  std::memset(bytes, 7, 40);

  // Growing a fixed block needs leave to move.
  EXPECT_EQ(GlobalReAlloc(block, 1 << 20, GMEM_ZEROINIT), nullptr);
  EXPECT_EQ(GlobalSize(block), 40u);

  HGLOBAL grown = GlobalReAlloc(block, 1 << 20, GMEM_MOVEABLE | GMEM_ZEROINIT);
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(GlobalSize(grown), 1u << 20);
  bytes = static_cast<unsigned char*>(grown);
  EXPECT_EQ(bytes[39], 7);
  EXPECT_EQ(bytes[40], 0);
  EXPECT_EQ(bytes[(1 << 20) - 1], 0);
  EXPECT_EQ(GlobalFree(grown), nullptr);
}

TEST(GlobalMemory, StaleAndForeignBlocksFailCleanly) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 16);
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block);  // freed already: handed back, no double free
  EXPECT_EQ(GlobalReAlloc(block, 32, GMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  int onStack = 0;
  EXPECT_EQ(GlobalFree(&onStack), &onStack);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  EXPECT_EQ(GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(-1) / 2), nullptr);
  HLOCAL local = LocalAlloc(LPTR, 8);
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(LocalFree(local), nullptr);
}

TEST(TickCount, ComesFromTheClockAndWraps) {
  platform::ClockUseVirtual((1ull << 32) + 5);
  EXPECT_EQ(GetTickCount(), 5u);
  Sleep(250);
  EXPECT_EQ(GetTickCount(), 255u);
  Sleep(0);
  EXPECT_EQ(GetTickCount(), 255u);
  platform::ClockUseVirtual(0xFFFFFFF0ull);
  Sleep(0x20);
  EXPECT_EQ(GetTickCount(), 0x10u);
}

TEST(TickCount, RealSleepWaits) {
  platform::ClockUseReal();
  DWORD before = GetTickCount();
  Sleep(30);
  EXPECT_GE(static_cast<DWORD>(GetTickCount() - before), 30u);
}

}  // namespace
