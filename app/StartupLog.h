// The log file and the environment report written at every start.
#pragma once

#include <string>

inline constexpr unsigned long long kLogSizeLimit = 1048576;

// Deletes the log file when it has grown beyond 1 MiB (a file of exactly 1 MiB is kept), then
// opens it through the log library. Returns what LogOpen answered.
bool OpenStartupLog(const std::string& logPath);

// "%d.%d.%d.%d" parts of a version: high and low word of the most significant half, then of the
// least significant half.
std::string FormatVersion(unsigned long mostSignificant, unsigned long leastSignificant);

// Writes the software, Windows, iTunes and Windows Media Player report and the capture folder
// read afresh from the registry, one log line each.
void WriteEnvironmentReport();
