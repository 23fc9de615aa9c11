#include "companions/qvllog/qvllog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

using namespace qvltest;

namespace {

// Long enough that a line written in pieces would show it.
std::string ThreadLine(int thread, int line) {
    char head[32];
    snprintf(head, sizeof head, "thread %d line %03d ", thread, line);
    return head + std::string(200, static_cast<char>('a' + thread));
}

} // namespace

class QvlLog : public testing::Test {
protected:
    // The library keeps its file open without delete sharing; the folder can only go once the
    // log has moved elsewhere.
    void TearDown() override { LogOpen("NUL"); }

    TestFolder folder;
    std::string log = folder / "qvl.log";
};

TEST_F(QvlLog, LinesReachTheFileInCallOrderAndAppend) {
    WriteFile(log, "earlier\r\n");
    ASSERT_EQ(LogOpen(log.c_str()), 1);
    LogWrite("Software Information:");
    LogWrite("\tProgram Name: %s", "Quaverlane");
    LogWrite("%d%%", 5);
    std::vector<std::string> lines = ReadLogLines(log);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "earlier");
    EXPECT_EQ(lines[1], "Software Information:");
    EXPECT_EQ(lines[2], "\tProgram Name: Quaverlane");
    EXPECT_EQ(lines[3], "5%");
    EXPECT_EQ(LogOpen((folder / "missing\\qvl.log").c_str()), 0) << "a folder that does not exist";
}

TEST_F(QvlLog, LinesFromSeveralThreadsAtOnceStayWhole) {
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    ASSERT_EQ(LogOpen(log.c_str()), 1);
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) {
                LogWrite("%s", ThreadLine(t, i).c_str());
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }

    std::vector<std::string> lines = ReadLogLines(log);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines));
    int next[kThreads] = {};
    for (const std::string& line : lines) {
        int thread = -1;
        ASSERT_EQ(sscanf(line.c_str(), "thread %d", &thread), 1) << line;
        ASSERT_TRUE(thread >= 0 && thread < kThreads) << line;
        ASSERT_EQ(line, ThreadLine(thread, next[thread])) << "each thread's lines whole and in order";
        ++next[thread];
    }
}
