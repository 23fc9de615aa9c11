#include "tools/recsim/WritePacer.h"

#include "tools/recsim/Disc.h"

#include <thread>

namespace recsim {

WritePacer::WritePacer(unsigned speed)
    : m_bytesPerSecond(double{kBytesPerSecond} * speed), m_start(std::chrono::steady_clock::now()) {}

void WritePacer::Written(uint64_t bytes) {
    m_written += bytes;
    if (m_bytesPerSecond > 0) {
        std::this_thread::sleep_until(m_start +
                                      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                          std::chrono::duration<double>(m_written / m_bytesPerSecond)));
    }
}

void WritePacer::Pause(double seconds) {
    auto pause = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(seconds));
    std::this_thread::sleep_for(pause);
    m_start += pause;
}

} // namespace recsim
