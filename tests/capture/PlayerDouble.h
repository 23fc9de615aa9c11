// The music player double (player_double.exe) as the tests drive it: registered as the player's
// automation server, started on a library the test describes, asked for its live objects.
#pragma once

#include "tests/support/TestSupport.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qvltest {

using LibraryValues = std::vector<std::pair<std::string, std::string>>;

// One line of the double's library file (see player_double/PlayerLibrary.h); texts in UTF-8.
std::string LibraryLine(const std::string& level, const LibraryValues& values);

// The double registered as the iTunes automation server for the life of the object.
class PlayerDoubleRegistration {
public:
    PlayerDoubleRegistration();
    ~PlayerDoubleRegistration();
    PlayerDoubleRegistration(const PlayerDoubleRegistration&) = delete;
    PlayerDoubleRegistration& operator=(const PlayerDoubleRegistration&) = delete;

    bool Registered() const { return m_registered; }

private:
    bool m_registered = false;
};

// The double serving a library, its player window shown, until Stop or the end of the object.
class PlayerDouble {
public:
    explicit PlayerDouble(const std::string& library);
    ~PlayerDouble();
    PlayerDouble(const PlayerDouble&) = delete;
    PlayerDouble& operator=(const PlayerDouble&) = delete;

    // Its window has appeared.
    bool Running() const { return m_window != nullptr; }
    // Its automation objects that are still alive; -1 when it does not answer.
    long LiveObjects() const;
    // Closes its window; the exit code, or nothing when it did not end.
    std::optional<DWORD> Stop();

private:
    TestFolder m_folder;
    std::unique_ptr<ChildProcess> m_process;
    HWND m_window = nullptr;
};

} // namespace qvltest
