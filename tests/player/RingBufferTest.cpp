#include "player/RingBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Catches a free-space rule that lets the writer run over the reader at the wrap.
TEST(RingBuffer, FreeSpaceFollowsTheOffsetsAcrossTheWrap) {
    RingBuffer ring(16);
    EXPECT_EQ(ring.FreeSpace(), 16u); // empty: the offsets are equal
    char data[16] = "abcdefghijklmno";
    EXPECT_EQ(ring.Write(data, 16), 15u); // one byte always stays unused
    EXPECT_EQ(ring.FreeSpace(), 0u);
    char out[16] = {};
    EXPECT_EQ(ring.Read(out, 10), 10u);
    EXPECT_EQ(ring.FreeSpace(), 10u);     // write 15 > read 10: size - write + read - 1
    EXPECT_EQ(ring.Write("XYZW", 4), 4u); // wraps: write 3 < read 10
    EXPECT_EQ(ring.FreeSpace(), 10u - 3 - 1);
    EXPECT_EQ(ring.UsedSpace(), 9u);
    EXPECT_EQ(ring.Read(out, 9), 9u);
    EXPECT_EQ(std::string(out, 9), "klmnoXYZW");
}

// Catches a reader that hangs at the end of a stream, or reports the end while bytes are left.
TEST(RingBuffer, EndOfStreamOnlyOnceDrained) {
    RingBuffer ring(64);
    ring.Write("abc", 3);
    ring.SetEndOfStream();
    EXPECT_FALSE(ring.IsEndOfStream());
    char out[8] = {};
    DWORD start = GetTickCount();
    EXPECT_EQ(ring.Read(out, 8), 3u);
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_TRUE(ring.IsEndOfStream());
}

// Catches a reader that waits for ever on a stalled writer instead of its 3-second slice.
TEST(RingBuffer, ReadReturnsWhatItHasAfterTheWaitSlice) {
    RingBuffer ring(64);
    ring.Write("ab", 2);
    char out[8] = {};
    DWORD start = GetTickCount();
    EXPECT_EQ(ring.Read(out, 8), 2u);
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 2900u);
    EXPECT_LT(waited, 4500u);
    EXPECT_FALSE(ring.IsEndOfStream());
}

} // namespace
