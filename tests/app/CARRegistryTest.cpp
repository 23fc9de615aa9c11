#include "app/CARRegistry.h"
#include "app/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

TEST(CARRegistry, MachineKeyWithTrailingBackslashOpensReadOnly) {
    RegistryValue text(HKEY_LOCAL_MACHINE, kProgramKey, "QvlTestText", "C:\\Burns");
    RegistryValue number(HKEY_LOCAL_MACHINE, kProgramKey, "QvlTestNumber", "replaced below");
    DWORD seven = 7;
    ASSERT_EQ(
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kProgramKey, "QvlTestNumber", REG_DWORD, &seven, sizeof seven),
        ERROR_SUCCESS);

    CARRegistry registry(true);
    registry.SetReadOnly(true);
    registry.SetAbsolutePath(true);
    ASSERT_TRUE(registry.Open("Software\\Quaverlane\\"));
    EXPECT_EQ(registry.LastResult(), ERROR_SUCCESS);

    EXPECT_EQ(registry.ReadString("QvlTestText", "fallback"), "C:\\Burns");
    EXPECT_EQ(registry.ReadString("QvlTestMissing", "fallback"), "fallback");
    EXPECT_EQ(registry.LastResult(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.ReadString("QvlTestNumber", "fallback"), "fallback");
    EXPECT_EQ(registry.LastType(), static_cast<DWORD>(REG_DWORD));
}
