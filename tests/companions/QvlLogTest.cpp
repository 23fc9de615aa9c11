#include "companions/qvllog/qvllog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

TEST(QvlLog, LinesReachTheFileInCallOrderAndAppend) {
    TestFolder folder;
    std::string log = folder / "qvl.log";
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
