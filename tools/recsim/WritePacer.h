// Holds the writing of the tracks to a recorder's speed: N x 176,400 bytes a second.
#pragma once

#include <chrono>
#include <cstdint>

namespace recsim {

class WritePacer {
public:
    // speed 0: as fast as the disk allows.
    explicit WritePacer(unsigned speed);

    // Counts bytes just written and waits until the recorder would have written them.
    void Written(uint64_t bytes);
    // Stops writing for a while; the schedule moves on by the same time, so no burst follows.
    void Pause(double seconds);

private:
    double m_bytesPerSecond;
    std::chrono::steady_clock::time_point m_start;
    uint64_t m_written = 0;
};

} // namespace recsim
