#include "ui/trackinfo/WmpMediaInfo.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "res/ids/MediaHostIds.h"
#include "res/ids/StringIds.h"

#include <process.h>
#include <wmpids.h>

#include <cwchar>
#include <cstring>

namespace {

constexpr CLSID kPlayerControl = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
constexpr long kPlayStateStopped = 1;
constexpr long kPlayStateReady = 10;
constexpr long kOpenStateMediaOpen = 13;
constexpr int kFirstVersionServed = 10;
// After a time-out the thread is told to quit; this long is it given before it is left alone.
constexpr DWORD kQuitGrace = 2000;

bool IsEmpty(const MediaInfoResult& info) {
    return info.title.empty() && info.artist.empty() && info.album.empty() && info.genre.empty() &&
           info.year.empty() && info.composer.empty() && info.collectionId.empty() && info.trackNumber == 0 &&
           !info.isProtected;
}

std::string Narrow(BSTR text) {
    return text != nullptr ? WideToAnsi(text, SysStringLen(text)) : std::string();
}

void TakeAttribute(const std::wstring& name, BSTR value, MediaInfoResult& result) {
    const std::wstring wide = value != nullptr ? std::wstring(value, SysStringLen(value)) : std::wstring();
    if (name == L"Is_Protected") {
        result.isProtected = wide == L"True";
    } else if (name == L"Author") {
        result.artist = Narrow(value);
    } else if (name == L"Title") {
        result.title = Narrow(value);
    } else if (name == L"WM/AlbumTitle") {
        result.album = Narrow(value);
    } else if (name == L"WM/Composer") {
        result.composer = Narrow(value);
    } else if (name == L"WM/Genre") {
        result.genre = Narrow(value);
    } else if (name == L"WM/Year") {
        result.year = Narrow(value);
    } else if (name == L"WM/TrackNumber") {
        result.trackNumber = static_cast<int>(wcstol(wide.c_str(), nullptr, 10));
    } else if (name == L"WM/WMCollectionID") {
        result.collectionId = Narrow(value);
    }
}

// COM objects are destroyed through Release, never through a base pointer: the interfaces
// have no virtual destructors by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The least a container gives an ActiveX control so that it runs in place in a window: the
// client site, and the in-place site that names the window and the control's rectangle.
class CWMPSite final : public IOleClientSite, public IOleInPlaceSite, private ComRefCount {
public:
    explicit CWMPSite(HWND host) : m_hHost(host) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *object = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *object = static_cast<IOleInPlaceSite*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Up(); }
    ULONG STDMETHODCALLTYPE Release() override { return Down(); }

    // IOleClientSite: nothing is saved and there is no document to name.
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite: the control covers the host's client area; there is no frame
    // with menus or tools to share.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = m_hHost;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override {
        *frame = nullptr;
        *document = nullptr;
        GetClientRect(m_hHost, position);
        GetClientRect(m_hHost, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = m_hHost;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

private:
    HWND m_hHost;
};

// Turns the control's play and open state changes into the messages of the host window and the
// media-information thread.
class CWMPEventSink final : public IDispatch, private ComRefCount {
public:
    CWMPEventSink(HWND host, DWORD thread) : m_hHost(host), m_dwThread(thread) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, static_cast<IDispatch*>(this),
                           {IID_IUnknown, IID_IDispatch, __uuidof(_WMPOCXEvents)});
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Up(); }
    ULONG STDMETHODCALLTYPE Release() override { return Down(); }

    // The control calls by dispatch identifier only; there is no type information to give.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        if (parameters == nullptr || parameters->cArgs != 1) {
            return S_OK;
        }
        VARIANT state;
        VariantInit(&state);
        if (VariantChangeType(&state, &parameters->rgvarg[0], 0, VT_I4) != S_OK) {
            return S_OK;
        }
        if (member == DISPID_WMPCOREEVENT_PLAYSTATECHANGE && state.lVal == kPlayStateStopped) {
            PostMessageA(m_hHost, WM_WMP_STOPPED, 0, 0);
        } else if (member == DISPID_WMPCOREEVENT_PLAYSTATECHANGE && state.lVal == kPlayStateReady) {
            PostThreadMessageA(m_dwThread, WM_WMP_READY, 0, 0);
        } else if (member == DISPID_WMPCOREEVENT_OPENSTATECHANGE && state.lVal == kOpenStateMediaOpen) {
            PostThreadMessageA(m_dwThread, WM_WMP_MEDIA_OPEN, 0, 0);
        }
        return S_OK;
    }

private:
    HWND m_hHost;
    DWORD m_dwThread;
};

#pragma GCC diagnostic pop

} // namespace

CWMPHostWnd::CWMPHostWnd() = default;

CWMPHostWnd::~CWMPHostWnd() {
    Shutdown();
}

WmpOutcome CWMPHostWnd::Create(bool bShow) {
    if (!CreateModeless(GetModuleHandleA(nullptr), IDD_MEDIA_HOST, nullptr)) {
        return WmpOutcome::Missing;
    }
    if (bShow) {
        ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
    }
    IOleObject* rawControl = nullptr;
    if (CoCreateInstance(kPlayerControl, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                         reinterpret_cast<void**>(&rawControl)) != S_OK) {
        return WmpOutcome::Missing;
    }
    m_control.Reset(rawControl);
    IWMPPlayer4* rawPlayer = nullptr;
    if (m_control.Get()->QueryInterface(__uuidof(IWMPPlayer4), reinterpret_cast<void**>(&rawPlayer)) !=
        S_OK) {
        return WmpOutcome::Missing;
    }
    m_player.Reset(rawPlayer);
    BSTR rawVersion = nullptr;
    m_player.Get()->get_versionInfo(&rawVersion);
    ScopedBstr version(rawVersion);
    if (version.Get() == nullptr || wcstol(version.Get(), nullptr, 10) < kFirstVersionServed) {
        return WmpOutcome::TooOld;
    }
    m_site.Reset(static_cast<IOleClientSite*>(new CWMPSite(Hwnd())));
    RECT area;
    GetClientRect(Hwnd(), &area);
    if (m_control.Get()->SetClientSite(m_site.Get()) != S_OK ||
        FAILED(m_control.Get()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site.Get(), 0, Hwnd(), &area))) {
        return WmpOutcome::Missing;
    }
    return WmpOutcome::MediaRead;
}

bool CWMPHostWnd::Open(const std::string& path, DWORD thread) {
    IConnectionPointContainer* rawContainer = nullptr;
    if (m_control.Get()->QueryInterface(IID_IConnectionPointContainer,
                                        reinterpret_cast<void**>(&rawContainer)) != S_OK) {
        return false;
    }
    ScopedInterface<IConnectionPointContainer> container(rawContainer);
    IConnectionPoint* rawEvents = nullptr;
    if (container.Get()->FindConnectionPoint(__uuidof(_WMPOCXEvents), &rawEvents) != S_OK) {
        return false;
    }
    m_events.Reset(rawEvents);
    m_sink.Reset(new CWMPEventSink(Hwnd(), thread));
    if (m_events.Get()->Advise(m_sink.Get(), &m_dwCookie) != S_OK) {
        m_dwCookie = 0;
        return false;
    }
    // The player starts playing what it opens: the user asked for tags, not for sound.
    IWMPSettings* rawSettings = nullptr;
    if (m_player.Get()->get_settings(&rawSettings) == S_OK && rawSettings != nullptr) {
        ScopedInterface<IWMPSettings> settings(rawSettings);
        settings.Get()->put_mute(VARIANT_TRUE);
    }
    ScopedBstr url = ToBstr(AnsiToWide(path));
    return m_player.Get()->put_URL(url.Get()) == S_OK;
}

bool CWMPHostWnd::ReadMedia(MediaInfoResult& result) const {
    IWMPMedia* rawMedia = nullptr;
    if (m_player.Get()->get_currentMedia(&rawMedia) != S_OK || rawMedia == nullptr) {
        return false;
    }
    ScopedInterface<IWMPMedia> media(rawMedia);
    long count = 0;
    if (media.Get()->get_attributeCount(&count) != S_OK) {
        return false;
    }
    for (long index = 0; index < count; ++index) {
        BSTR rawName = nullptr;
        if (media.Get()->getAttributeName(index, &rawName) != S_OK) {
            continue;
        }
        ScopedBstr name(rawName);
        BSTR rawValue = nullptr;
        media.Get()->getItemInfo(name.Get(), &rawValue);
        ScopedBstr value(rawValue);
        if (name.Get() != nullptr) {
            TakeAttribute(std::wstring(name.Get(), SysStringLen(name.Get())), value.Get(), result);
        }
    }
    return true;
}

// The control is let go before the window it lives in.
void CWMPHostWnd::Shutdown() {
    if (m_dwCookie != 0) {
        m_events.Get()->Unadvise(m_dwCookie);
        m_dwCookie = 0;
    }
    m_events.Reset();
    m_sink.Reset();
    m_player.Reset();
    if (m_control) {
        m_control.Get()->Close(OLECLOSE_NOSAVE);
        m_control.Get()->SetClientSite(nullptr);
        m_control.Reset();
    }
    m_site.Reset();
    Destroy();
}

CWMPGetMediaInfoThread::CWMPGetMediaInfoThread(std::string path) : m_request(std::make_shared<Request>()) {
    m_request->strPath = std::move(path);
}

bool CWMPGetMediaInfoThread::Start() {
    auto shared = std::make_unique<std::shared_ptr<Request>>(m_request);
    unsigned id = 0;
    m_thread.Reset(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Run, shared.get(), CREATE_SUSPENDED, &id)));
    if (!m_thread) {
        return false;
    }
    shared.release();
    m_threadId = id;
    SetThreadPriority(m_thread.Get(), THREAD_PRIORITY_ABOVE_NORMAL);
    ResumeThread(m_thread.Get());
    return true;
}

WmpOutcome CWMPGetMediaInfoThread::WaitForEnd(DWORD timeLimit) {
    if (WaitForSingleObject(m_thread.Get(), timeLimit) == WAIT_OBJECT_0) {
        return m_request->outcome;
    }
    PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(m_thread.Get(), kQuitGrace);
    m_request = std::make_shared<Request>();
    m_request->outcome = WmpOutcome::NoMedia;
    return m_request->outcome;
}

const MediaInfoResult& CWMPGetMediaInfoThread::Result() const {
    return m_request->result;
}

unsigned __stdcall CWMPGetMediaInfoThread::Run(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Request>> shared(static_cast<std::shared_ptr<Request>*>(parameter));
    Request& request = **shared;
    if (FAILED(OleInitialize(nullptr))) {
        request.outcome = WmpOutcome::Missing;
        return 1;
    }
    request.outcome = Serve(request);
    OleUninitialize();
    return 0;
}

WmpOutcome CWMPGetMediaInfoThread::Serve(Request& request) {
    CWMPHostWnd host;
    const WmpOutcome created = host.Create(request.bShowWindow);
    if (created != WmpOutcome::MediaRead) {
        return created;
    }
    if (!host.Open(request.strPath, GetCurrentThreadId())) {
        return WmpOutcome::NoMedia;
    }
    WmpOutcome outcome = WmpOutcome::NoMedia;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == WM_WMP_MEDIA_OPEN) {
            MediaInfoResult read;
            if (host.ReadMedia(read)) {
                request.result = read;
                outcome = WmpOutcome::MediaRead;
            }
            PostQuitMessage(0);
        } else if (message.hwnd == nullptr && message.message == WM_WMP_READY) {
            PostQuitMessage(0);
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return outcome;
}

bool GetMediaInfo(const char* path, MediaInfoResult& result) {
    result = MediaInfoResult{};
    // The MPEG-4 family (iTunes' and QuickTime's formats) is read from the file itself; the player
    // is asked about everything else.
    const char* dot = std::strrchr(path, '.');
    for (const char* extension : {".m4a", ".m4p", ".m4b", ".m4v", ".mp4", ".mov"}) {
        if (dot != nullptr && _stricmp(dot, extension) == 0) {
            return ReadMediaInfoFromFile(path, result);
        }
    }
    CWMPGetMediaInfoThread thread(path);
    if (thread.Start()) {
        const WmpOutcome outcome = thread.WaitForEnd(kMediaInfoTimeLimit);
        if (outcome == WmpOutcome::TooOld) {
            MessageBoxA(nullptr, LoadLangString(IDS_WMP10_REQUIRED).c_str(), "Quaverlane",
                        MB_OK | MB_ICONWARNING);
        } else if (outcome == WmpOutcome::MediaRead && !IsEmpty(thread.Result())) {
            result = thread.Result();
            return true;
        }
    }
    return ReadMediaInfoFromFile(path, result);
}
