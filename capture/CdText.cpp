#include "capture/CdText.h"

#include "app/framework/Scoped.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

// The genre list of the CD-TEXT standard; a genre pack's code is an index into it. Codes 0 ("not
// used") and 1 ("not defined") name no genre.
constexpr const char* kCdTextGenres[] = {
    nullptr,
    nullptr,
    "Adult Contemporary",
    "Alternative Rock",
    "Childrens Music",
    "Classical",
    "Contemporary Christian",
    "Country",
    "Dance",
    "Easy Listening",
    "Erotic",
    "Folk",
    "Gospel",
    "Hip Hop",
    "Jazz",
    "Latin",
    "Musical",
    "New Age",
    "Opera",
    "Operetta",
    "Pop Music",
    "Rap",
    "Reggae",
    "Rock Music",
    "Rhythm & Blues",
    "Sound Effects",
    "Spoken Word",
    "World Music",
};

constexpr int kGenreCodeSize = 2;

// Joins the text bytes of consecutive packs into zero-terminated items. An item may start in one
// pack and end in a later one; it belongs to the track named by the pack it ends in, and every
// further item ending in the same pack to the track after the one before.
class CdTextAssembler {
public:
    CdTextAssembler(DiscTrackInfo* table, int& count) : m_table(table), m_count(count) {}

    void Add(const CdTextPack& pack) {
        if (pack.BlockNumber() != 0) {
            return;
        }
        bool genre = pack.type == kPackGenre;
        // Every pack type starts its items afresh; a genre run also leaves its padding behind,
        // which cannot be told from the next item's code.
        if (pack.type != m_type) {
            m_fill = 0;
            m_type = pack.type;
        }
        // Only a malformed lead-in gets this far without a terminator; what it collected can
        // never become a valid item.
        if (m_fill + kPackTextSize > static_cast<int>(m_buffer.size())) {
            m_fill = 0;
        }
        std::memcpy(m_buffer.data() + m_fill, pack.text, kPackTextSize);
        m_fill += kPackTextSize;

        int track = pack.track;
        // A genre item is a two-byte code, then its text: the code's zero byte is no terminator.
        int textStart = genre ? kGenreCodeSize : 0;
        while (m_fill > textStart) {
            auto end = std::find(m_buffer.begin() + textStart, m_buffer.begin() + m_fill, '\0');
            if (end == m_buffer.begin() + m_fill) {
                return;
            }
            bool stored = genre ? StoreGenre(track) : StoreCdText(m_table, m_buffer.data(), track, pack.type);
            if (stored && pack.type == kPackTitle) {
                m_count = std::max(m_count, track);
            }
            ++track;
            // Zeros after an item are padding, not empty items of the following tracks; after a
            // genre item they are the next item's code.
            auto next = genre
                            ? end + 1
                            : std::find_if(end, m_buffer.begin() + m_fill, [](char c) { return c != '\0'; });
            m_fill = static_cast<int>(std::copy(next, m_buffer.begin() + m_fill, m_buffer.begin()) -
                                      m_buffer.begin());
        }
    }

private:
    // The item's own text, or the standard name of its code when the text says nothing.
    bool StoreGenre(int track) {
        const char* text = m_buffer.data() + kGenreCodeSize;
        if (std::strlen(text) > 1) {
            return StoreCdText(m_table, text, track, kPackGenre);
        }
        unsigned code = static_cast<uint8_t>(m_buffer[0]) << 8 | static_cast<uint8_t>(m_buffer[1]);
        return code < std::size(kCdTextGenres) && kCdTextGenres[code] != nullptr &&
               StoreCdText(m_table, kCdTextGenres[code], track, kPackGenre);
    }

    DiscTrackInfo* m_table;
    int& m_count;
    std::array<char, 1024> m_buffer{};
    int m_fill = 0;
    uint8_t m_type = 0;
};

// Values the disc carries but a track does not: the album performer is the track's artist and
// the disc's genre the track's genre.
void InheritDiscValues(DiscTrackInfo* table) {
    const DiscTrackInfo& disc = table[0];
    for (int track = 1; track < kTrackInfoCount; ++track) {
        if (table[track].artist[0] == '\0') {
            std::memcpy(table[track].artist, disc.artist, sizeof(disc.artist));
        }
        if (table[track].genre[0] == '\0') {
            std::memcpy(table[track].genre, disc.genre, sizeof(disc.genre));
        }
    }
}

char* FieldFor(DiscTrackInfo& record, uint8_t packType, size_t length) {
    switch (packType) {
    case kPackTitle:
        return record.title;
    case kPackPerformer:
        return record.artist;
    case kPackSongwriter:
        return record.originalArtist;
    case kPackComposer:
        return record.composer;
    case kPackGenre:
        return length > 1 ? record.genre : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

SubchannelBlock DecodeSubchannelBlock(std::span<const uint8_t, kSubchannelBlockSize> symbols) {
    std::array<uint8_t, sizeof(SubchannelBlock)> bytes{};
    for (size_t i = 0, out = 0; i < symbols.size(); i += 4, out += 3) {
        uint8_t a = symbols[i] & 0x3F;
        uint8_t b = symbols[i + 1] & 0x3F;
        uint8_t c = symbols[i + 2] & 0x3F;
        uint8_t d = symbols[i + 3] & 0x3F;
        bytes[out] = static_cast<uint8_t>((a << 2) | (b >> 4));
        bytes[out + 1] = static_cast<uint8_t>(((b & 0x0F) << 4) | (c >> 2));
        bytes[out + 2] = static_cast<uint8_t>(((c & 0x03) << 6) | d);
    }
    return std::bit_cast<SubchannelBlock>(bytes);
}

int ParseLeadIn(const char* path, DiscTrackInfo* table, int* count) {
    std::memset(table, 0, sizeof(DiscTrackInfo) * kTrackInfoCount);
    *count = 0;
    ScopedFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 0;
    }
    CdTextAssembler assembler(table, *count);
    std::array<uint8_t, kSubchannelBlockSize> symbols;
    DWORD read = 0;
    for (int packs = 0; packs < kMaxLeadInPacks; packs += 4) {
        if (!ReadFile(file.Get(), symbols.data(), kSubchannelBlockSize, &read, nullptr) ||
            read != kSubchannelBlockSize) {
            break;
        }
        SubchannelBlock block = DecodeSubchannelBlock(symbols);
        // The CD-TEXT area is over where a block starts with anything but a CD-TEXT pack.
        if (block.packs[0].type < kPackTitle) {
            break;
        }
        for (const CdTextPack& pack : block.packs) {
            assembler.Add(pack);
        }
    }
    InheritDiscValues(table);
    return 1;
}

bool StoreCdText(DiscTrackInfo* table, const char* text, int track, uint8_t packType) {
    size_t length = std::min(std::strlen(text), static_cast<size_t>(kTextFieldSize - 1));
    if (length == 0 || track < 0 || track >= kTrackInfoCount) {
        return false;
    }
    char* field = FieldFor(table[track], packType, length);
    if (field == nullptr) {
        return false;
    }
    std::memcpy(field, text, length);
    return true;
}
