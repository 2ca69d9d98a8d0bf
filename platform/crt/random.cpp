#include "win32/crt.h"

#include <cstdint>

namespace {
// One thread runs the engine; the generator needs no lock.
uint32_t randomState = 1;
}  // namespace

void RuntimeSrand(unsigned int seed) { randomState = seed; }

int RuntimeRand() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7fff);
}
