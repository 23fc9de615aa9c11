// The automation objects of the music player double: the application, its sources, playlists,
// tracks and artwork, and the 1-based collections that hold them. Every object answers IDispatch
// and resolves its members by name; the application also answers as IiTunes and a track with a
// file behind it as IITFileOrCDTrack, as the real player's objects do.
#pragma once

#include "tests/capture/player_double/PlayerLibrary.h"

#include <windows.h>
#include <oaidl.h>

enum class PlayerObjectKind { Application, Source, Playlist, Track, Artwork, Collection };

// A COM object is destroyed by its own Release, never through an interface pointer: the
// interfaces' destructors are not virtual, by COM's design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class PlayerObject final : public IDispatch {
public:
    // The application is served from the library's root; collections are made by their owners.
    explicit PlayerObject(const LibraryNode& root);

    // Objects of the double that are alive, in this process.
    static LONG LiveObjects();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    // A collection's node is its owner's: its items are the owner's children, each of itemKind.
    PlayerObject(PlayerObjectKind kind, const LibraryNode& node, PlayerObjectKind itemKind);
    ~PlayerObject();

    HRESULT Item(DISPPARAMS* parameters, VARIANT* result) const;
    HRESULT SaveArtworkToFile(DISPPARAMS* parameters) const;

    LONG m_references = 1;
    PlayerObjectKind m_kind;
    const LibraryNode& m_node;
    PlayerObjectKind m_itemKind;
};

// Hands out applications to COM for the double's whole run; not counted among the live objects.
class PlayerClassFactory final : public IClassFactory {
public:
    explicit PlayerClassFactory(const LibraryNode& root) : m_root(root) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    const LibraryNode& m_root;
};

#pragma GCC diagnostic pop
