#include "encode/LameLibrary.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

std::string ProgramLame() {
    return BinFolder() + "\\lame_enc.dll";
}

bool IsModuleLoaded(const std::string& path) {
    return GetModuleHandleA(path.c_str()) != nullptr;
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

} // namespace

TEST(LameLibrary, LoadsFromTheProgramFolderWithEveryEntryPoint) {
    LameLibrary lame;
    ASSERT_EQ(lame.IsLoaded(), 1);
    EXPECT_EQ(lstrcmpiA(lame.Path().c_str(), ProgramLame().c_str()), 0) << lame.Path();
    EXPECT_EQ(lstrcmpiA(ModulePath(lame.Module()).c_str(), ProgramLame().c_str()), 0);
    const LameEntryPoints& api = lame.Api();
    EXPECT_NE(api.beInitStream, nullptr);
    EXPECT_NE(api.beEncodeChunk, nullptr);
    EXPECT_NE(api.beDeinitStream, nullptr);
    EXPECT_NE(api.beCloseStream, nullptr);
    EXPECT_NE(api.beVersion, nullptr);
    EXPECT_NE(api.beWriteVBRHeader, nullptr);
}

TEST(LameLibrary, MissingLibraryLeavesNothingLoaded) {
    TestFolder empty;
    LameLibrary lame;
    EXPECT_EQ(lame.Load(empty / "lame_enc.dll"), 0);
    EXPECT_EQ(lame.IsLoaded(), 0);
    EXPECT_EQ(lame.Module(), nullptr);
    EXPECT_EQ(lame.Path(), "");
    EXPECT_FALSE(IsModuleLoaded(ProgramLame())) << "the library loaded before is freed";
}

TEST(LameLibrary, EmptyPathUnloadsAndFails) {
    LameLibrary lame;
    ASSERT_EQ(lame.IsLoaded(), 1);
    EXPECT_EQ(lame.Load(""), 0);
    EXPECT_EQ(lame.IsLoaded(), 0);
    EXPECT_EQ(lame.Module(), nullptr);
    EXPECT_EQ(lame.Path(), "");
    EXPECT_FALSE(IsModuleLoaded(ProgramLame()));
}

TEST(LameLibrary, LoadingTheSamePathAgainChangesNothing) {
    {
        LameLibrary lame;
        HMODULE module = lame.Module();
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(lame.Load(lame.Path()), 1);
        EXPECT_EQ(lame.Module(), module);
        EXPECT_EQ(lame.IsLoaded(), 1);
    }
    EXPECT_FALSE(IsModuleLoaded(ProgramLame())) << "a second reference would keep the library in memory";
}

TEST(LameLibrary, AnotherPathReplacesTheLibrary) {
    TestFolder folder;
    std::string copy = folder / "lame_enc.dll";
    ASSERT_TRUE(CopyFileA(ProgramLame().c_str(), copy.c_str(), FALSE));
    LameLibrary lame;
    ASSERT_EQ(lame.IsLoaded(), 1);

    EXPECT_EQ(lame.Load(copy), 1);
    EXPECT_EQ(lame.IsLoaded(), 1);
    EXPECT_EQ(lame.Path(), copy);
    EXPECT_EQ(lstrcmpiA(ModulePath(lame.Module()).c_str(), copy.c_str()), 0);
    EXPECT_FALSE(IsModuleLoaded(ProgramLame()));
}

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
