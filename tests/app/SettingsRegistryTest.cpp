#include "app/AppFolders.h"
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

TEST(CaptureFolderFromRegistry, ReturnsTheValueAndCreatesTheFolderWithItsParents) {
    TestFolder root;
    std::string folder = root / "missing\\parent\\capture";
    RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, folder);

    EXPECT_EQ(ReadCaptureFolderFromRegistry(), folder);
    EXPECT_TRUE(FolderExists(folder));
}

TEST(CaptureFolderFromRegistry, AValueFillingTheWholeBufferIsCutAt2000Characters) {
    TestFolder root;
    std::string prefix = root.Path() + "\\";
    // 2,047 characters and the terminator fill the 2,048-byte buffer exactly.
    for (size_t length : {size_t{2046}, size_t{2047}}) {
        std::string folder = prefix + std::string(length - prefix.size(), 'x');
        RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, folder);
        std::string read = ReadCaptureFolderFromRegistry();
        EXPECT_EQ(read.size(), length < 2047 ? length : 2000) << length << " characters";
        EXPECT_TRUE(folder.starts_with(read)) << length << " characters";
    }
}

TEST(SettingsDefaults, ResetToDefaultsPutsBackEveryStartValue) {
    ASSERT_EQ(LoadLibraryA("WmaEncodeCore.DLL"), nullptr) << "these defaults need a machine without WMA";
    Settings settings;
    settings.outputFolder = "D:\\Elsewhere";
    settings.captureFolder = "D:\\Burns";
    settings.outputFormat = OutputFormat::Wav;
    settings.windowLeft = 10;
    settings.windowTop = 20;
    settings.windowWidth = 300;
    settings.windowHeight = 400;
    settings.notRunOnStartup = 1;
    settings.languageAuto = 0;
    settings.languageFile = "lang_fra.ini";
    settings.mp3.SetPreset(17);

    settings.ResetToDefaults();

    EXPECT_EQ(settings.outputFolder, DefaultOutputFolder());
    EXPECT_EQ(settings.captureFolder, DefaultCaptureFolder());
    EXPECT_EQ(settings.outputFormat, OutputFormat::Mp3);
    EXPECT_EQ(settings.windowLeft, 0);
    EXPECT_EQ(settings.windowTop, 0);
    EXPECT_EQ(settings.windowWidth, 0);
    EXPECT_EQ(settings.windowHeight, 0);
    EXPECT_EQ(settings.notRunOnStartup, 0);
    EXPECT_EQ(settings.languageAuto, 1);
    EXPECT_EQ(settings.languageFile, "lang_eng.ini");
    EXPECT_EQ(settings.mp3.Current(), (Mp3Preset{0, 160, 160}));
    EXPECT_EQ(settings.mp3.GetPreset(), 4);
    EXPECT_FALSE(settings.wmaCatalogue.IsAvailable());
    settings.ReleaseEncoderObjects();
}

TEST(SettingsDefaults, CaptureFolderFromRegistryIsCleanedAndMadeAbsolute) {
    Settings settings;
    settings.captureFolder = DefaultCaptureFolder();
    {
        RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, "C:\\a:b\\c*d//e");
        settings.ApplyCaptureFolderFromRegistry();
        EXPECT_EQ(settings.captureFolder, "C:\\a-b\\c-d-\\e");
    }
    RegistryValue value(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, "Burns\\");
    settings.ApplyCaptureFolderFromRegistry();
    EXPECT_EQ(settings.captureFolder.substr(1), ":\\Burns\\") << "put on the system drive";
}

TEST(SettingsDefaults, WithoutTheRegistryValueOrKeyTheDefaultCaptureFolderStays) {
    {
        RegistryValue keyPresent(HKEY_LOCAL_MACHINE, kProgramKey, "QvlTestOther", "C:\\NotTheCaptureFolder");
        RegistryValue missing(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, std::nullopt);
        Settings settings;
        settings.captureFolder = DefaultCaptureFolder();
        settings.ApplyCaptureFolderFromRegistry();
        EXPECT_EQ(settings.captureFolder, DefaultCaptureFolder()) << "value missing";
    }
    RegistryKeyRemoved removed(HKEY_LOCAL_MACHINE, kProgramKey);
    ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue), std::nullopt);
    Settings settings;
    settings.captureFolder = DefaultCaptureFolder();
    settings.ApplyCaptureFolderFromRegistry();
    EXPECT_EQ(settings.captureFolder, DefaultCaptureFolder()) << "key missing";
}
