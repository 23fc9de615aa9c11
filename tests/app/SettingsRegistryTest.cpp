#include "app/framework/AppFolders.h"
#include "app/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

std::string RunningExecutable() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

TEST(RunOnStartup, AddsAndRemovesOnlyItsOwnRunValue) {
    RegistryValue neighbour(HKEY_LOCAL_MACHINE, kRunKey, "QvlTestNeighbour", "C:\\Tools\\other.exe /tray");
    RegistryValue own(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, std::nullopt);

    SetRunOnStartup(true);
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), RunningExecutable() + " /silence");

    SetRunOnStartup(false);
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), std::nullopt);
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "QvlTestNeighbour"),
              "C:\\Tools\\other.exe /tray");
}

// 2,047 characters and the terminator fill the 2,048-byte buffer of the read exactly.
TEST(CaptureFolderFromRegistry, IsCreatedWithItsParentsAndAValueFillingTheWholeBufferIsCutAt2000) {
    TestFolder root;
    std::string prefix = root.Path() + "\\missing\\parent\\";
    for (size_t length : {size_t{2046}, size_t{2047}}) {
        std::string folder = prefix + std::string(length - prefix.size(), 'x');
        RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, folder);
        std::string read = ReadCaptureFolderFromRegistry();
        EXPECT_EQ(read.size(), length < 2047 ? length : 2000) << length << " characters";
        EXPECT_TRUE(folder.starts_with(read)) << length << " characters";
    }
    RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, prefix + "capture");
    EXPECT_EQ(ReadCaptureFolderFromRegistry(), prefix + "capture");
    EXPECT_TRUE(FolderExists(prefix + "capture"));
}

TEST(SettingsCaptureFolder, TheRegistrysIsCleanedAndMadeAbsoluteAndWithoutItTheDefaultStays) {
    Settings settings;
    settings.captureFolder = DefaultCaptureFolder();
    {
        RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, "Burns\\a:b*");
        settings.ApplyCaptureFolderFromRegistry();
        EXPECT_EQ(settings.captureFolder.substr(1), ":\\Burns\\a-b-") << "put on the system drive";
    }
    settings.captureFolder = DefaultCaptureFolder();
    {
        RegistryValue missing(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, std::nullopt);
        settings.ApplyCaptureFolderFromRegistry();
        EXPECT_EQ(settings.captureFolder, DefaultCaptureFolder()) << "value missing";
    }
    RegistryKeyRemoved removed(HKEY_LOCAL_MACHINE, kProgramKey);
    settings.ApplyCaptureFolderFromRegistry();
    EXPECT_EQ(settings.captureFolder, DefaultCaptureFolder()) << "key missing";
}
