#include "tests/capture/player_double/PlayerRegistration.h"

#include "app/framework/ScopedCom.h"
#include "tests/capture/player_double/PlayerIdentifiers.h"

#include <oleauto.h>

#include <string>

namespace {

// The double's own type library; the real player's library identifier is not needed.
constexpr GUID kLibraryId = {0x09974D2F, 0xA031, 0x4CC4, {0xAE, 0x33, 0xAE, 0x73, 0x50, 0x34, 0xBD, 0x06}};
#if defined(_WIN64)
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

// Wine reads COM registrations from HKLM\Software\Classes only: it does not merge
// HKCU\Software\Classes into HKEY_CLASSES_ROOT, so a per-user registration would not be seen.
// The tests register the double for their own run and remove it afterwards.
HKEY const kClassesRoot = HKEY_CLASSES_ROOT;

std::wstring ExecutablePath() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring TypeLibraryPath() {
    std::wstring path = ExecutablePath();
    return path.substr(0, path.find_last_of(L'.')) + L".tlb";
}

std::wstring ClassKey() {
    wchar_t clsid[40] = L"";
    StringFromGUID2(kITunesAppClass, clsid, 40);
    return std::wstring(L"CLSID\\") + clsid;
}

// Each interface is a dispatch interface with nothing but IDispatch's members: the double
// resolves its members by name at run time.
bool AddDispatchInterface(ICreateTypeLib2& library, ITypeInfo& dispatch, const wchar_t* name,
                          const IID& iid) {
    std::wstring writableName = name;
    ICreateTypeInfo* raw = nullptr;
    HRESULT hr = library.CreateTypeInfo(writableName.data(), TKIND_DISPATCH, &raw);
    ScopedInterface<ICreateTypeInfo> info(raw);
    HREFTYPE base = 0;
    return hr == S_OK && info.Get()->SetGuid(iid) == S_OK &&
           info.Get()->AddRefTypeInfo(&dispatch, &base) == S_OK && info.Get()->AddImplType(0, base) == S_OK &&
           info.Get()->LayOut() == S_OK;
}

bool WriteTypeLibrary(const std::wstring& path) {
    ITypeLib* rawStandard = nullptr;
    HRESULT hr = LoadTypeLib(L"stdole2.tlb", &rawStandard);
    ScopedInterface<ITypeLib> standard(rawStandard);
    ITypeInfo* rawDispatch = nullptr;
    if (hr != S_OK || standard.Get()->GetTypeInfoOfGuid(IID_IDispatch, &rawDispatch) != S_OK) {
        return false;
    }
    ScopedInterface<ITypeInfo> dispatch(rawDispatch);
    ICreateTypeLib2* rawLibrary = nullptr;
    hr = CreateTypeLib2(kSysKind, path.c_str(), &rawLibrary);
    ScopedInterface<ICreateTypeLib2> library(rawLibrary);
    std::wstring name = L"QuaverlanePlayerDouble";
    return hr == S_OK && library.Get()->SetGuid(kLibraryId) == S_OK &&
           library.Get()->SetVersion(1, 0) == S_OK && library.Get()->SetName(name.data()) == S_OK &&
           library.Get()->SetLcid(LOCALE_NEUTRAL) == S_OK &&
           AddDispatchInterface(*library.Get(), *dispatch.Get(), L"IiTunes", kITunesInterface) &&
           AddDispatchInterface(*library.Get(), *dispatch.Get(), L"IITFileOrCDTrack",
                                kFileOrCdTrackInterface) &&
           library.Get()->SaveAllChanges() == S_OK;
}

bool SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(kClassesRoot, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace

bool RegisterPlayerDouble() {
    std::wstring path = TypeLibraryPath();
    if (!WriteTypeLibrary(path)) {
        return false;
    }
    ITypeLib* raw = nullptr;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &raw);
    ScopedInterface<ITypeLib> library(raw);
    std::wstring writablePath = path;
    return hr == S_OK && RegisterTypeLib(library.Get(), writablePath.data(), nullptr) == S_OK &&
           SetString(ClassKey(), nullptr, L"iTunes Application") &&
           SetString(ClassKey() + L"\\LocalServer32", nullptr, L"\"" + ExecutablePath() + L"\"");
}

bool UnregisterPlayerDouble() {
    bool unregistered = UnRegisterTypeLib(kLibraryId, 1, 0, LOCALE_NEUTRAL, kSysKind) == S_OK;
    LSTATUS removed = RegDeleteTreeW(kClassesRoot, ClassKey().c_str());
    bool deleted = DeleteFileW(TypeLibraryPath().c_str()) != 0;
    return unregistered && (removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND) && deleted;
}
