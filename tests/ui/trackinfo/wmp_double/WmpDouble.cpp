// A stand-in for the Windows Media Player control in tests: an in-process server of the control's
// class that serves what the media-information host uses. The environment variable
// QVL_WMP_DOUBLE, read when the control is created, chooses how it behaves:
//   old        reports version 9
//   media      opens the media and reports its attributes
//   protected  opens the media and reports it as protected
//   ready      becomes ready without open media
//   silent     accepts the file and never answers
// Everything the host does not use fails with E_NOTIMPL.
#include "app/framework/ScopedCom.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wmp.h>
#include <wmpids.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr CLSID kPlayerControl = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
constexpr long kPlayStateReady = 10;
constexpr long kOpenStateMediaOpen = 13;

using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

std::string Mode() {
    char mode[32] = "";
    GetEnvironmentVariableA("QVL_WMP_DOUBLE", mode, sizeof mode);
    return mode;
}

Attributes AttributesOf(const std::string& mode) {
    if (mode == "protected") {
        return {{L"Title", L"Locked Song"}, {L"Is_Protected", L"True"}};
    }
    return {{L"Duration", L"215"},
            {L"Title", L"Player Title"},
            {L"Author", L"Player Artist"},
            {L"WM/AlbumTitle", L"Player Album"},
            {L"WM/Composer", L"Player Composer"},
            {L"WM/Genre", L"Jazz"},
            {L"WM/Year", L"1999"},
            {L"WM/TrackNumber", L"7"},
            {L"WM/WMCollectionID", L"{0A1B2C3D-0000-1111-2222-333344445555}"},
            {L"Is_Protected", L"False"}};
}

// COM objects are destroyed through Release, never through a base pointer: the interfaces
// have no virtual destructors by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The control's dispatch members are reached through the vtable only.
template <typename Interface> class NoDispatch : public Interface {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
};

class DoubleMedia final : public NoDispatch<IWMPMedia>, public ComRefCount {
public:
    explicit DoubleMedia(Attributes attributes) : m_attributes(std::move(attributes)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, static_cast<IWMPMedia*>(this),
                           {IID_IUnknown, IID_IDispatch, __uuidof(IWMPMedia)});
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Up(); }
    ULONG STDMETHODCALLTYPE Release() override { return Down(); }

    HRESULT STDMETHODCALLTYPE get_attributeCount(LONG* count) override {
        *count = static_cast<LONG>(m_attributes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE getAttributeName(LONG index, BSTR* name) override {
        if (index < 0 || index >= static_cast<LONG>(m_attributes.size())) {
            *name = nullptr;
            return E_INVALIDARG;
        }
        *name = SysAllocString(m_attributes[static_cast<size_t>(index)].first.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE getItemInfo(BSTR name, BSTR* value) override {
        for (const auto& [attribute, text] : m_attributes) {
            if (attribute == name) {
                *value = SysAllocString(text.c_str());
                return S_OK;
            }
        }
        *value = SysAllocString(L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_isIdentical(IWMPMedia*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_sourceURL(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_name(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_name(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_imageSourceWidth(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_imageSourceHeight(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_markerCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE getMarkerTime(LONG, double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE getMarkerName(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_duration(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_durationString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE setItemInfo(BSTR, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE getItemInfoByAtom(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE isMemberOf(IWMPPlaylist*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE isReadOnlyItem(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }

private:
    Attributes m_attributes;
};

// The one connection point, for the control's events; one sink at a time.
class DoubleEvents final : public IConnectionPoint, public ComRefCount {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, static_cast<IConnectionPoint*>(this),
                           {IID_IUnknown, IID_IConnectionPoint});
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Up(); }
    ULONG STDMETHODCALLTYPE Release() override { return Down(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = __uuidof(_WMPOCXEvents);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        IDispatch* events = nullptr;
        if (m_sink != nullptr ||
            sink->QueryInterface(__uuidof(_WMPOCXEvents), reinterpret_cast<void**>(&events)) != S_OK) {
            return CONNECT_E_ADVISELIMIT;
        }
        m_sink = events;
        *cookie = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        if (cookie != 1 || m_sink == nullptr) {
            return CONNECT_E_NOCONNECTION;
        }
        std::exchange(m_sink, nullptr)->Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    void Fire(DISPID member, long state) {
        if (m_sink == nullptr) {
            return;
        }
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_I4;
        argument.lVal = state;
        DISPPARAMS parameters = {&argument, nullptr, 1, 0};
        m_sink->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                       nullptr);
    }

private:
    ~DoubleEvents() override {
        if (m_sink != nullptr) {
            m_sink->Release();
        }
    }

    IDispatch* m_sink = nullptr;
};

class DoublePlayer final : public IOleObject,
                           public NoDispatch<IWMPPlayer4>,
                           public IConnectionPointContainer,
                           public ComRefCount {
public:
    DoublePlayer() : m_mode(Mode()) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleObject) {
            *object = static_cast<IOleObject*>(this);
        } else if (iid == IID_IDispatch || iid == __uuidof(IWMPCore) || iid == __uuidof(IWMPCore2) ||
                   iid == __uuidof(IWMPCore3) || iid == __uuidof(IWMPPlayer4)) {
            *object = static_cast<IWMPPlayer4*>(this);
        } else if (iid == IID_IConnectionPointContainer) {
            *object = static_cast<IConnectionPointContainer*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        Up();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Up(); }
    ULONG STDMETHODCALLTYPE Release() override { return Down(); }

    // IOleObject: the site is kept until the host lets the control go.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        if (site != nullptr) {
            site->AddRef();
        }
        if (m_site != nullptr) {
            m_site->Release();
        }
        m_site = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
        return m_site != nullptr ? S_OK : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IWMPCore as far as the host uses it.
    HRESULT STDMETHODCALLTYPE get_versionInfo(BSTR* version) override {
        *version = SysAllocString(m_mode == "old" ? L"9.0.0.4503" : L"12.0.7601.17514");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_URL(BSTR) override {
        if (m_mode == "media" || m_mode == "protected") {
            m_media = new DoubleMedia(AttributesOf(m_mode));
            m_events->Fire(DISPID_WMPCOREEVENT_OPENSTATECHANGE, kOpenStateMediaOpen);
        } else if (m_mode == "ready") {
            m_events->Fire(DISPID_WMPCOREEVENT_PLAYSTATECHANGE, kPlayStateReady);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_currentMedia(IWMPMedia** media) override {
        *media = m_media;
        if (m_media != nullptr) {
            m_media->AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE close() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_URL(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_openState(WMPOpenState*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_playState(WMPPlayState*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_controls(IWMPControls**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_settings(IWMPSettings**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_currentMedia(IWMPMedia*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_mediaCollection(IWMPMediaCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_playlistCollection(IWMPPlaylistCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE launchURL(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_network(IWMPNetwork**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_currentPlaylist(IWMPPlaylist**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_currentPlaylist(IWMPPlaylist*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_cdromCollection(IWMPCdromCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_closedCaption(IWMPClosedCaption**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_isOnline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Error(IWMPError**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_status(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_dvd(IWMPDVD**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE newPlaylist(BSTR, BSTR, IWMPPlaylist**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE newMedia(BSTR, IWMPMedia**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_enabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_enabled(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_fullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_fullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_enableContextMenu(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_enableContextMenu(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_uiMode(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_uiMode(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_stretchToFit(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_stretchToFit(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_windowlessVideo(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_windowlessVideo(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_isRemote(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_playerApplication(IWMPPlayerApplication**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE openPlayer(BSTR) override { return E_NOTIMPL; }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (iid != __uuidof(_WMPOCXEvents)) {
            *point = nullptr;
            return CONNECT_E_NOCONNECTION;
        }
        m_events->AddRef();
        *point = m_events;
        return S_OK;
    }

private:
    ~DoublePlayer() override {
        m_events->Release();
        if (m_media != nullptr) {
            m_media->Release();
        }
        if (m_site != nullptr) {
            m_site->Release();
        }
    }

    std::string m_mode;
    DoubleEvents* m_events = new DoubleEvents;
    IWMPMedia* m_media = nullptr;
    IOleClientSite* m_site = nullptr;
};

class DoubleFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, static_cast<IClassFactory*>(this), {IID_IUnknown, IID_IClassFactory});
    }
    // The factory is static: it lives as long as the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* player = new DoublePlayer;
        HRESULT hr = player->QueryInterface(iid, object);
        player->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

#pragma GCC diagnostic pop

DoubleFactory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (clsid != kPlayerControl) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, object);
}

// Tests register and remove the double around each run; it stays loaded meanwhile.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}
