#pragma once
// The CPU time the calling thread has used, in milliseconds: latencies measured by it leave out
// the waits of a busy machine (the shared build machine runs at loads above 10).
#include <ctime>

inline double ThreadMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}
