#include "encode/LameLibrary.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

std::string ProgramLame() {
    return BinFolder() + "\\lame_enc.dll";
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

} // namespace

TEST(LameLibrary, LoadsFromTheProgramFolder) {
    LameLibrary lame;
    ASSERT_EQ(lame.IsLoaded(), 1);
    EXPECT_EQ(lstrcmpiA(lame.Path().c_str(), ProgramLame().c_str()), 0) << lame.Path();
    EXPECT_EQ(lstrcmpiA(ModulePath(lame.Module()).c_str(), ProgramLame().c_str()), 0);
}

// Loading another path is how the tests stand in for a wrong lame_enc.dll beside the program.
TEST(LameLibrary, LibraryWithoutTheEntryPointsStaysLoadedButUnusable) {
    TestFolder folder;
    std::string impostor = folder / "lame_enc.dll";
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\LinkCore.dll").c_str(), impostor.c_str(), FALSE));
    LameLibrary lame;

    EXPECT_EQ(lame.Load(impostor), 1);
    EXPECT_EQ(lame.IsLoaded(), 0);
    EXPECT_NE(lame.Module(), nullptr);
    EXPECT_EQ(lame.Path(), impostor);
}
