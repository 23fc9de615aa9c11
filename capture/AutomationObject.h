// One object of another program's automation interface, called late-bound through IDispatch:
// members are found by name at each call, so neither a header nor a type library of that program
// is needed, and whatever its dual interfaces add to IDispatch is never called.
#pragma once

#include "app/framework/ScopedCom.h"

#include <oaidl.h>

#include <string>

class AutomationObject {
public:
    AutomationObject() = default;
    // Takes over the caller's reference.
    explicit AutomationObject(IDispatch* object) : m_object(object) {}

    bool IsValid() const { return m_object.IsValid(); }

    // Each is true only when the call's result code is 0 (S_OK); the value is then set. Text
    // arrives wide and is handed on in the ANSI code page.
    bool GetProperty(const wchar_t* name, std::string& value) const;
    bool GetProperty(const wchar_t* name, long& value) const;
    // An object property that is null counts as a failure.
    bool GetProperty(const wchar_t* name, AutomationObject& value) const;

    // Item(index) of a collection. The "false" result code 1 (no such item) and a null item fail
    // as any other failure does.
    bool GetItem(long index, AutomationObject& item) const;

    // A method with one text argument and no result.
    bool Call(const wchar_t* name, const std::string& argument) const;

    // Whether the object answers QueryInterface for the interface.
    bool Supports(const IID& iid) const;

private:
    HRESULT Invoke(const wchar_t* name, WORD flags, VARIANT* arguments, UINT count,
                   ScopedVariant& result) const;
    bool GetResult(const wchar_t* name, WORD flags, VARIANT* arguments, UINT count, VARTYPE type,
                   ScopedVariant& result) const;

    ScopedInterface<IDispatch> m_object;
};
