#include "app/StartupLog.h"
#include "companions/qvllog/qvllog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

constexpr long long kLimit = 1048576;

// A file of exactly the size: "old first line", then one long line of padding.
void WriteOldLog(const std::string& path, long long size) {
    std::string first = "old first line\r\n";
    WriteFile(path, first + std::string(static_cast<size_t>(size) - first.size() - 2, 'o') + "\r\n");
}

} // namespace

class StartupLog : public testing::Test {
protected:
    // The log library keeps its file open without delete sharing; the folder can only go once
    // the log has moved elsewhere.
    void TearDown() override { LogOpen("NUL"); }

    TestFolder folder;
    std::string log = folder / "qvl.log";
};

TEST_F(StartupLog, ALogOfExactlyOneMebibyteIsKeptAndAppendedTo) {
    WriteOldLog(log, kLimit);
    ASSERT_TRUE(OpenStartupLog(log));
    LogWrite("new line");
    EXPECT_GT(FileSize(log), kLimit);
    std::vector<std::string> lines = ReadLogLines(log);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "old first line");
    EXPECT_EQ(lines.back(), "new line");
}

TEST_F(StartupLog, ALogOneByteLargerIsDeletedFirst) {
    WriteOldLog(log, kLimit + 1);
    ASSERT_TRUE(OpenStartupLog(log));
    LogWrite("new line");
    EXPECT_EQ(ReadLogLines(log), std::vector<std::string>{"new line"});
}
