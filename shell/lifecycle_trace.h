#pragma once
// With ORINTHAL_TRACE=FILE in the environment, the program appends one line
// to FILE for each step of its lifecycle (creation steps, every tick, the
// reason for closing, the destruction steps), so that tests can check their
// order without timing anything. Without it, nothing is written.

void OpenLifecycleTrace();
void TraceStep(const char* format, ...) __attribute__((format(printf, 1, 2)));
