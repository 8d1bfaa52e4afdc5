// Start-up timestamps for the start-up benchmark, compiled in only by its own build
// (QV_STARTUP_TRACE); the shipped program has none of this.
#pragma once

#ifdef QV_STARTUP_TRACE
// Notes the wall-clock time at which the named step ended.
void traceStartupStep(const char* step);
// Writes the notes to startup_trace.txt in the program folder, one "<step> <microseconds since 1970>" a line.
void writeStartupTrace();
#else
inline void traceStartupStep(const char*) {}
inline void writeStartupTrace() {}
#endif
