// The C runtime's pseudo-random generator, as the platform's runtime has it:
// one process-wide linear congruential generator (state * 214013 + 2531011,
// modulo 2^32), each draw giving bits 16 to 30 of the new state (0 to 32767).
// The engine's scene and songs draw from the same sequence, so it lives here,
// once.
#pragma once

#define RAND_MAX_RUNTIME 32767

void RuntimeSrand(unsigned int seed);
int RuntimeRand();
