// Failures that end a burn with a one-line message: the caller prints what() and exits non-zero.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace recsim {

class RecsimError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command line that cannot be followed; reported with a hint to --help.
class UsageError : public RecsimError {
public:
    using RecsimError::RecsimError;
};

// The system's text for an error code, on one line.
std::string SystemMessage(DWORD code);

// Throws what + ": " + the text of GetLastError().
[[noreturn]] void ThrowLastError(const std::string& what);

} // namespace recsim
