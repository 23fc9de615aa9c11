// Reading a dropped source through the Windows Media Player control, played here by a double that
// is registered in the control's place for the length of each test.
#include "app/framework/Scoped.h"
#include "tests/ui/trackinfo/TrackInfoTestSupport.h"
#include "tools/control/AppControl.h"
#include "ui/trackinfo/WmpMediaInfo.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

using namespace qvltest;

namespace {

constexpr wchar_t kServerKey[] = L"CLSID\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}\\InprocServer32";

// One value of the control's server key as it was, to be put back.
struct SavedValue {
    const wchar_t* name;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> value;
};

SavedValue Save(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return {name, std::nullopt};
    }
    std::vector<BYTE> data(size);
    RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
    return {name, std::make_pair(type, data)};
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Wine looks COM classes up in HKEY_CLASSES_ROOT as stored under HKLM, not in the user's
// classes, so the double takes the control's own server entry and gives it back afterwards.
class ControlDouble {
public:
    ControlDouble() {
        HKEY raw = nullptr;
        RegCreateKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &raw,
                        nullptr);
        m_key.Reset(raw);
        m_saved = {Save(m_key.Get(), nullptr), Save(m_key.Get(), L"ThreadingModel")};
        wchar_t path[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dll = path;
        dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"wmp_double.dll";
        SetText(m_key.Get(), nullptr, dll);
        SetText(m_key.Get(), L"ThreadingModel", L"Apartment");
    }
    ~ControlDouble() {
        for (const SavedValue& saved : m_saved) {
            if (saved.value) {
                RegSetValueExW(m_key.Get(), saved.name, 0, saved.value->first, saved.value->second.data(),
                               static_cast<DWORD>(saved.value->second.size()));
            } else {
                RegDeleteValueW(m_key.Get(), saved.name);
            }
        }
    }
    ControlDouble(const ControlDouble&) = delete;
    ControlDouble& operator=(const ControlDouble&) = delete;

private:
    ScopedRegKey m_key;
    std::vector<SavedValue> m_saved;
};

class WmpMediaInfoTest : public TrackInfoTest {
protected:
    void TearDown() override { SetEnvironmentVariableA("QVL_WMP_DOUBLE", nullptr); }

    // The double's behaviour for this test; the control reads it when it is created.
    static void Behave(const char* mode) { SetEnvironmentVariableA("QVL_WMP_DOUBLE", mode); }

    ControlDouble m_control;
};

} // namespace

TEST_F(WmpMediaInfoTest, OpenMediaGivesThePlayersAttributes) {
    // Catches an attribute name mapped to the wrong field, a track number left as text, and the
    // file's own tags read although the control answered.
    Behave("media");
    MediaInfoResult info;
    ASSERT_TRUE(GetMediaInfo(Copy("source.flac").c_str(), info));
    EXPECT_EQ(info.title, "Player Title");
    EXPECT_EQ(info.artist, "Player Artist");
    EXPECT_EQ(info.album, "Player Album");
    EXPECT_EQ(info.composer, "Player Composer");
    EXPECT_EQ(info.genre, "Jazz");
    EXPECT_EQ(info.year, "1999");
    EXPECT_EQ(info.trackNumber, 7);
    EXPECT_EQ(info.collectionId, "{0A1B2C3D-0000-1111-2222-333344445555}");
    EXPECT_FALSE(info.isProtected);
}

TEST_F(WmpMediaInfoTest, ProtectedMediaIsFlagged) {
    // Catches "Is_Protected" ignored or taken as protected whatever its value, and a protected
    // file's answer thrown away for the file's tags.
    Behave("protected");
    MediaInfoResult info;
    ASSERT_TRUE(GetMediaInfo(Copy("source.flac").c_str(), info));
    EXPECT_TRUE(info.isProtected);
    EXPECT_EQ(info.title, "Locked Song");
    EXPECT_EQ(info.artist, "");
}

TEST_F(WmpMediaInfoTest, ReadyWithoutMediaFallsBackToTheFile) {
    // Catches a ready event that does not end the request, and an empty answer passed on instead
    // of the file's own tags.
    Behave("ready");
    MediaInfoResult info;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(GetMediaInfo(Copy("source.flac").c_str(), info));
    EXPECT_LT(GetTickCount() - start, kMediaInfoTimeLimit);
    EXPECT_EQ(info.title, "Tidewater");
    EXPECT_EQ(info.trackNumber, 9);
}

TEST_F(WmpMediaInfoTest, PlayerOlderThanTenWarnsAndTheFileFills) {
    // Catches an old player used anyway, or turned away without the warning the user must see.
    Behave("old");
    bool warned = false;
    std::thread answer([&warned] {
        warned =
            AppControl::AnswerMessageBox(GetCurrentProcessId(),
                                         "Windows Media Player 10 or later version is required to render "
                                         "this audio file!",
                                         IDOK, 15000);
    });
    MediaInfoResult info;
    const bool read = GetMediaInfo(Copy("source.flac").c_str(), info);
    answer.join();
    EXPECT_TRUE(warned);
    ASSERT_TRUE(read);
    EXPECT_EQ(info.title, "Tidewater");
    EXPECT_EQ(info.artist, "Mara_Quill");
}

TEST_F(WmpMediaInfoTest, ControlThatNeverAnswersCannotHangTheCaller) {
    // Catches a wait without a time limit on a control that takes the file and sends no event.
    Behave("silent");
    MediaInfoResult info;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(GetMediaInfo(Copy("source.flac").c_str(), info));
    EXPECT_LT(GetTickCount() - start, kMediaInfoTimeLimit + 5000);
    EXPECT_EQ(info.title, "Tidewater");
}
