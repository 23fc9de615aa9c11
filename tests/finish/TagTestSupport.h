// What the tag tests share: a freshly encoded MP3 file for each test, a record with every field
// filled, a picture that needs unsynchronisation, and readers for the bytes of both tag versions.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "tests/deps/DepsSupport.h"
#include "tests/support/TestSupport.h"

#include <id3/tag.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvltest {

// The bytes of a small JPEG-like picture: its markers put 0xFF before 0xE0 and 0x00, which an
// unsynchronised tag must escape, and every other byte value occurs too.
std::string CoverPicture();

// Every field that a tag can carry, with the picture saved as artworkPath. The fields no tag carries
// (genre text and number, the further strings) hold values that must not show up anywhere.
TrackTags FullTags(const std::string& artworkPath);

// The last 128 bytes of the file (an ID3v1 block when there is one); empty for a shorter file.
std::string Block(const std::string& bytes);

// The text in a fixed field of that width, zero-filled.
std::string Padded(const std::string& text, size_t width);

// Succeeds when the ID3v1 block holds FullTags: title, artist, album, year, comment, track 7 and
// genre 17 (Rock).
testing::AssertionResult HoldsFullTagsVersion1(const std::string& block);

// The text of a field of the first frame with this id in the file's tag of one version, as id3lib
// holds it (big-endian UTF-16 bytes for a Unicode field); nothing when there is no such frame.
std::optional<std::string> RawFieldText(const std::string& path, ID3_TagType version, ID3_FrameID id,
                                        ID3_FieldID field = ID3FN_TEXT);

// Puts a frame with this text into the file's ID3v2 tag in UTF-16, as other taggers do.
void WriteUnicodeFrame(const std::string& path, ID3_FrameID id, const std::wstring& text);

// The ANSI text of a wide string in the system code page.
std::string Ansi(const std::wstring& text);

// Each test gets a one-second tone encoded by lame_enc.dll in a folder of its own, and a copy
// of the picture beside it.
class Mp3FileTest : public testing::Test {
protected:
    void SetUp() override;

    TestFolder m_folder;
    std::string m_mp3 = m_folder / "track.mp3";
    std::string m_picture = m_folder / "cover.jpg";
    std::string m_audio; // the encoded file as it was before any tag
};

} // namespace qvltest
