#include "tools/recsim/Errors.h"

namespace recsim {

std::string SystemMessage(DWORD code) {
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    // The system's texts end with a line break (and often a full stop) that would split our one line.
    while (!text.empty() &&
           (text.back() == '\r' || text.back() == '\n' || text.back() == '.' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "system error " + std::to_string(code) : text;
}

void ThrowLastError(const std::string& what) {
    throw RecsimError(what + ": " + SystemMessage(GetLastError()));
}

} // namespace recsim
