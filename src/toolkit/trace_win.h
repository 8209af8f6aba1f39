// Timing marks for the benchmarks (bench/ui_bench.py), off by default. When
// the environment variable HUELOOM_TRACE names a file as the program starts,
// trace(event) appends one line to it:
//     <event> <QueryPerformanceCounter in µs> <system time in µs since 1970>
// The second stamp is comparable with clocks outside the program. Without the
// variable a mark costs one test of a flag.
#pragma once

namespace tk {

extern const bool tracing;
void traceMark(const char* event);
inline void trace(const char* event) {
    if (tracing) traceMark(event);
}

}  // namespace tk
