#include "tests/capture/PlayerDouble.h"

#include "tests/capture/player_double/PlayerDoubleProtocol.h"

namespace qvltest {

namespace {

constexpr DWORD kTimeout = 10000;

std::string DoublePath() {
    return BinFolder() + "\\player_double.exe";
}

bool RunDouble(const std::string& arguments) {
    ChildProcess process(DoublePath(), arguments);
    return process.Wait(kTimeout) == 0u;
}

// The player window of that process, waiting for it to appear.
HWND WaitForPlayerWindow(DWORD processId) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window = FindWindowA("iTunes", "iTunes"); window != nullptr && found == nullptr;
                 window = FindWindowExA(nullptr, window, "iTunes", "iTunes")) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                found = owner == processId ? window : nullptr;
            }
            return found != nullptr;
        },
        kTimeout);
    return found;
}

} // namespace

std::string LibraryLine(const std::string& level, const LibraryValues& values) {
    std::string line = level;
    for (const auto& [name, value] : values) {
        line += "\t" + name + "=" + value;
    }
    return line + "\n";
}

PlayerDoubleRegistration::PlayerDoubleRegistration() : m_registered(RunDouble(kRegisterSwitch)) {}

PlayerDoubleRegistration::~PlayerDoubleRegistration() {
    if (m_registered) {
        RunDouble(kUnregisterSwitch);
    }
}

PlayerDouble::PlayerDouble(const std::string& library) {
    std::string path = m_folder / "library.txt";
    WriteFile(path, library);
    m_process = std::make_unique<ChildProcess>(DoublePath(), "\"" + path + "\"");
    if (m_process->Started()) {
        m_window = WaitForPlayerWindow(m_process->Id());
    }
}

PlayerDouble::~PlayerDouble() {
    Stop();
}

long PlayerDouble::LiveObjects() const {
    DWORD_PTR count = 0;
    if (m_window == nullptr ||
        SendMessageTimeoutA(m_window, kLiveObjectsMessage, 0, 0, SMTO_ABORTIFHUNG, kTimeout, &count) == 0) {
        return -1;
    }
    return static_cast<long>(count);
}

std::optional<DWORD> PlayerDouble::Stop() {
    if (m_window != nullptr) {
        PostMessageA(std::exchange(m_window, nullptr), WM_CLOSE, 0, 0);
    }
    return m_process->Wait(kTimeout);
}

} // namespace qvltest
