#include "tests/capture/player_double/PlayerObject.h"

#include "app/framework/ScopedCom.h"
#include "tests/capture/player_double/PlayerIdentifiers.h"

#include <cwchar>
#include <vector>

namespace {

LONG liveObjects = 0;

enum class MemberType { Text, Number, Items, Count, Item, Save };

struct Member {
    const wchar_t* name;
    MemberType type;
    PlayerObjectKind itemKind = PlayerObjectKind::Collection;
};

// The members each kind of object answers; a member's DISPID is its place in the list, from 1.
const std::vector<Member>& MembersOf(PlayerObjectKind kind) {
    using enum MemberType;
    using enum PlayerObjectKind;
    static const std::vector<Member> application = {{L"Sources", Items, Source}};
    static const std::vector<Member> source = {
        {L"Name", Text}, {L"Kind", Number}, {L"Playlists", Items, Playlist}};
    static const std::vector<Member> playlist = {
        {L"Name", Text}, {L"Kind", Number}, {L"Tracks", Items, Track}};
    static const std::vector<Member> track = {
        {L"Name", Text},          {L"Artist", Text},           {L"Album", Text},   {L"Genre", Text},
        {L"Time", Text},          {L"Year", Number},           {L"Comment", Text}, {L"Composer", Text},
        {L"TrackNumber", Number}, {L"Artwork", Items, Artwork}};
    static const std::vector<Member> artwork = {{L"Format", Number}, {L"SaveArtworkToFile", Save}};
    static const std::vector<Member> collection = {{L"Count", Count}, {L"Item", Item}};
    switch (kind) {
    case Application:
        return application;
    case Source:
        return source;
    case Playlist:
        return playlist;
    case Track:
        return track;
    case Artwork:
        return artwork;
    default:
        return collection;
    }
}

// The one argument of Item or SaveArtworkToFile, as the type the member wants.
HRESULT Argument(DISPPARAMS* parameters, VARTYPE type, ScopedVariant& value) {
    if (parameters == nullptr || parameters->cArgs != 1) {
        return DISP_E_BADPARAMCOUNT;
    }
    HRESULT hr = VariantCopyInd(value.Get(), &parameters->rgvarg[0]);
    return hr == S_OK ? VariantChangeType(value.Get(), value.Get(), 0, type) : hr;
}

void SetText(VARIANT* result, const std::wstring& text) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void SetObject(VARIANT* result, IDispatch* object) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
}

} // namespace

PlayerObject::PlayerObject(const LibraryNode& root)
    : PlayerObject(PlayerObjectKind::Application, root, PlayerObjectKind::Collection) {}

PlayerObject::PlayerObject(PlayerObjectKind kind, const LibraryNode& node, PlayerObjectKind itemKind)
    : m_kind(kind), m_node(node), m_itemKind(itemKind) {
    InterlockedIncrement(&liveObjects);
}

PlayerObject::~PlayerObject() {
    InterlockedDecrement(&liveObjects);
}

LONG PlayerObject::LiveObjects() {
    return InterlockedCompareExchange(&liveObjects, 0, 0);
}

HRESULT PlayerObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    bool answers = iid == IID_IUnknown || iid == IID_IDispatch ||
                   (iid == kITunesInterface && m_kind == PlayerObjectKind::Application) ||
                   (iid == kFileOrCdTrackInterface && m_kind == PlayerObjectKind::Track);
    if (!answers) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IDispatch*>(this);
    return S_OK;
}

ULONG PlayerObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG PlayerObject::Release() {
    LONG left = InterlockedDecrement(&m_references);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT PlayerObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT PlayerObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return DISP_E_BADINDEX;
}

// Only the member's own name is known; further names would be parameter names.
HRESULT PlayerObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (names == nullptr || ids == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    const std::vector<Member>& members = MembersOf(m_kind);
    ids[0] = DISPID_UNKNOWN;
    for (size_t i = 0; i < members.size(); ++i) {
        if (_wcsicmp(members[i].name, names[0]) == 0) {
            ids[0] = static_cast<DISPID>(i + 1);
        }
    }
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT PlayerObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                             EXCEPINFO*, UINT*) {
    const std::vector<Member>& members = MembersOf(m_kind);
    if (id < 1 || static_cast<size_t>(id) > members.size()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const Member& member = members[static_cast<size_t>(id - 1)];
    if (member.type == MemberType::Save) {
        return SaveArtworkToFile(parameters);
    }
    if (result == nullptr) {
        return E_POINTER;
    }
    VariantInit(result);
    switch (member.type) {
    case MemberType::Text:
        SetText(result, m_node.Text(member.name));
        return result->bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
    case MemberType::Number:
        result->vt = VT_I4;
        result->lVal = m_node.Number(member.name);
        return S_OK;
    case MemberType::Items:
        SetObject(result, new PlayerObject(PlayerObjectKind::Collection, m_node, member.itemKind));
        return S_OK;
    case MemberType::Count:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(m_node.children.size());
        return S_OK;
    default:
        return Item(parameters, result);
    }
}

HRESULT PlayerObject::Item(DISPPARAMS* parameters, VARIANT* result) const {
    ScopedVariant index;
    HRESULT hr = Argument(parameters, VT_I4, index);
    if (hr != S_OK) {
        return hr;
    }
    LONG position = index.Get()->lVal;
    if (position < 1 || static_cast<size_t>(position) > m_node.children.size()) {
        return E_INVALIDARG;
    }
    const LibraryNode& item = m_node.children[static_cast<size_t>(position - 1)];
    SetObject(result, new PlayerObject(m_itemKind, item, PlayerObjectKind::Collection));
    return S_OK;
}

HRESULT PlayerObject::SaveArtworkToFile(DISPPARAMS* parameters) const {
    ScopedVariant path;
    HRESULT hr = Argument(parameters, VT_BSTR, path);
    if (hr != S_OK) {
        return hr;
    }
    if (!CopyFileW(m_node.Text(L"File").c_str(), path.Get()->bstrVal, FALSE)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return S_OK;
}

HRESULT PlayerClassFactory::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
}

HRESULT PlayerClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    ScopedInterface<PlayerObject> application(new PlayerObject(m_root));
    return application.Get()->QueryInterface(iid, object);
}
