// Owners for what crosses a COM boundary (interface pointers, BSTRs, VARIANTs), each released
// exactly once, and the conversions between the program's ANSI text and COM's wide strings.
#pragma once

#include "app/framework/Scoped.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>

template <typename T> void ReleaseInterface(T* object) {
    object->Release();
}
template <typename T> using ScopedInterface = ScopedResource<T*, NullTraits<T*, ReleaseInterface<T>>>;

// The reference count of a COM object of our own: it starts owned by its maker and deletes the
// object with the last reference. The object's AddRef and Release forward to Up and Down.
class ComRefCount {
public:
    ComRefCount() = default;
    virtual ~ComRefCount() = default;
    ComRefCount(const ComRefCount&) = delete;
    ComRefCount& operator=(const ComRefCount&) = delete;

    ULONG Up() { return ++m_references; }
    ULONG Down() {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    ULONG m_references = 1;
};

// The QueryInterface of an object that gives one pointer for each of the interfaces it names.
template <typename Interface>
HRESULT AnswerQuery(REFIID iid, void** object, Interface* answer, std::initializer_list<IID> answered) {
    if (object == nullptr) {
        return E_POINTER;
    }
    for (const IID& known : answered) {
        if (IsEqualIID(iid, known)) {
            *object = answer;
            answer->AddRef();
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

inline void FreeBstr(BSTR text) {
    SysFreeString(text);
}
using ScopedBstr = ScopedResource<BSTR, NullTraits<BSTR, FreeBstr>>;

// Blocks that COM or the shell allocated for the caller (the folder browser's item id lists).
inline void FreeTaskMemory(void* block) {
    CoTaskMemFree(block);
}
template <typename T> using ScopedTaskMemory = ScopedResource<T*, NullTraits<T*, FreeTaskMemory>>;

inline ScopedBstr ToBstr(const std::wstring& wide) {
    return ScopedBstr(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

// A VARIANT that is cleared, with whatever it holds, when the owner goes.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&m_value); }
    ~ScopedVariant() { VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* Get() { return &m_value; }
    const VARIANT* Get() const { return &m_value; }

private:
    VARIANT m_value;
};

// Characters the ANSI code page lacks become its default character.
inline std::string WideToAnsi(const wchar_t* wide, size_t length) {
    int wideLength = static_cast<int>(length);
    int ansiLength = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(ansiLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, wideLength, ansi.data(), ansiLength, nullptr, nullptr);
    return ansi;
}

inline std::wstring AnsiToWide(const std::string& ansi) {
    int ansiLength = static_cast<int>(ansi.size());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, wide.data(), wideLength);
    return wide;
}
