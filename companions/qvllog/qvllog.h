// The log writer shared by the program and its companion libraries. Imported by ordinal:
// 1 LogOpen, 2 LogWrite.
#pragma once

#ifdef QVLLOG_BUILD
#define QVLLOG_API extern "C"
#else
#define QVLLOG_API extern "C" __declspec(dllimport)
#endif

// Opens (appending) the log file; a later call switches to another file. Returns 1 on success.
QVLLOG_API int LogOpen(const char* path);

// Writes one printf-style line. Lines reach the file in call order, whole, from any thread or
// process; before the first LogOpen they go to the debugger output instead.
QVLLOG_API void LogWrite(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
