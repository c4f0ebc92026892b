// Marks of the program's start, for measuring where the time goes from exec
// to the first answer. With WORDBAY_TRACE_STARTUP set (to anything but "0")
// each mark writes one line to standard error:
//     wordbay-trace <seconds> <what>
// with the seconds of CLOCK_MONOTONIC, the clock a script that started the
// program reads too. Otherwise a mark costs one test of a flag.
#pragma once

namespace wordbay {

// Whether the marks are written; read from the environment once.
bool StartupTraceOn();

// Writes the mark `what` when tracing is on. Any thread.
void StartupMark(const char* what);

}  // namespace wordbay
