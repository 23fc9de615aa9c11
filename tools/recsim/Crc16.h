// The 16-bit check of CD sub-channel data: polynomial x^16 + x^12 + x^5 + 1 (0x1021), start value 0.
// CD-TEXT packs and Q sub-channel frames both store it with every bit inverted, most significant
// byte first.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace recsim {

inline uint16_t Crc16Ccitt(std::span<const uint8_t> bytes) {
    uint16_t crc = 0;
    for (uint8_t byte : bytes) {
        crc ^= static_cast<uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) != 0 ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                      : static_cast<uint16_t>(crc << 1);
        }
    }
    return crc;
}

// Stores the inverted check of bytes [0, end) at end and end + 1.
template <size_t N> void StoreInvertedCrc(std::array<uint8_t, N>& frame, size_t end) {
    uint16_t crc = static_cast<uint16_t>(~Crc16Ccitt(std::span<const uint8_t>(frame.data(), end)));
    frame[end] = static_cast<uint8_t>(crc >> 8);
    frame[end + 1] = static_cast<uint8_t>(crc & 0xFF);
}

} // namespace recsim
