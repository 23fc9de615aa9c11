#include "tests/support/BurnFiles.h"

namespace qvltest {

CdTextPackBytes MakePack(uint8_t type, uint8_t track, std::string_view text, uint8_t blockInfo) {
    CdTextPackBytes pack{};
    pack[0] = type;
    pack[1] = track;
    pack[3] = blockInfo;
    text.copy(reinterpret_cast<char*>(&pack[4]), 12);
    // The reader ignores the CRC; a wrong one must not matter.
    pack[16] = 0xA5;
    pack[17] = 0x5A;
    return pack;
}

CdTextPackBytes FillerPack() {
    return MakePack(0x8F, 0, "");
}

std::string LeadInBytes(std::vector<CdTextPackBytes> packs) {
    while (packs.size() % 4 != 0) {
        packs.push_back(FillerPack());
    }
    std::vector<uint8_t> raw;
    for (const CdTextPackBytes& pack : packs) {
        raw.insert(raw.end(), pack.begin(), pack.end());
    }
    std::string bytes;
    for (size_t i = 0; i < raw.size(); i += 3) {
        uint8_t symbols[4] = {
            static_cast<uint8_t>(raw[i] >> 2),
            static_cast<uint8_t>(((raw[i] & 0x03) << 4) | (raw[i + 1] >> 4)),
            static_cast<uint8_t>(((raw[i + 1] & 0x0F) << 2) | (raw[i + 2] >> 6)),
            static_cast<uint8_t>(raw[i + 2] & 0x3F),
        };
        for (int k = 0; k < 4; ++k) {
            bytes += static_cast<char>(symbols[k] | ((bytes.size() % 3 + 1) << 6));
        }
    }
    return bytes;
}

std::vector<CdTextPackBytes> TextPacks(uint8_t type, const std::vector<std::string>& items) {
    std::string stream;
    std::vector<uint8_t> owner;
    for (size_t track = 0; track < items.size(); ++track) {
        stream += items[track];
        stream += '\0';
        owner.resize(stream.size(), static_cast<uint8_t>(track));
    }
    std::vector<CdTextPackBytes> packs;
    for (size_t offset = 0; offset < stream.size(); offset += 12) {
        packs.push_back(MakePack(type, owner[offset], std::string_view(stream).substr(offset, 12)));
    }
    return packs;
}

std::vector<CdTextPackBytes> Concat(std::initializer_list<std::vector<CdTextPackBytes>> parts) {
    std::vector<CdTextPackBytes> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::string CueEntry(uint8_t track, uint8_t index, uint8_t minute, uint8_t second, uint8_t frame) {
    const char bytes[8] = {
        0x01, static_cast<char>(track),  static_cast<char>(index),  0x00,
        0x00, static_cast<char>(minute), static_cast<char>(second), static_cast<char>(frame)};
    return std::string(bytes, sizeof(bytes));
}

} // namespace qvltest
