#include "capture/AutomationObject.h"

#include <utility>

namespace {

// Collections are asked for items the way automation clients ask for them: as a method or as a
// property with an argument, whichever the server declared.
constexpr WORD kGetFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

} // namespace

HRESULT AutomationObject::Invoke(const wchar_t* name, WORD flags, VARIANT* arguments, UINT count,
                                 ScopedVariant& result) const {
    if (!m_object) {
        return E_POINTER;
    }
    // The callee only reads the names; the signature predates const.
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID member = DISPID_UNKNOWN;
    HRESULT hr = m_object.Get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    if (hr != S_OK) {
        return hr;
    }
    DISPPARAMS parameters = {arguments, nullptr, count, 0};
    EXCEPINFO exception = {};
    hr = m_object.Get()->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result.Get(),
                                &exception, nullptr);
    // A failing member may have described itself; the description is not used, but it is ours to free.
    ScopedBstr source(exception.bstrSource);
    ScopedBstr description(exception.bstrDescription);
    ScopedBstr helpFile(exception.bstrHelpFile);
    return hr;
}

bool AutomationObject::GetResult(const wchar_t* name, WORD flags, VARIANT* arguments, UINT count,
                                 VARTYPE type, ScopedVariant& result) const {
    return Invoke(name, flags, arguments, count, result) == S_OK &&
           VariantChangeType(result.Get(), result.Get(), 0, type) == S_OK;
}

bool AutomationObject::GetProperty(const wchar_t* name, std::string& value) const {
    ScopedVariant result;
    if (!GetResult(name, DISPATCH_PROPERTYGET, nullptr, 0, VT_BSTR, result)) {
        return false;
    }
    BSTR text = result.Get()->bstrVal;
    value = WideToAnsi(text, SysStringLen(text));
    return true;
}

bool AutomationObject::GetProperty(const wchar_t* name, long& value) const {
    ScopedVariant result;
    if (!GetResult(name, DISPATCH_PROPERTYGET, nullptr, 0, VT_I4, result)) {
        return false;
    }
    value = result.Get()->lVal;
    return true;
}

bool AutomationObject::GetProperty(const wchar_t* name, AutomationObject& value) const {
    ScopedVariant result;
    if (!GetResult(name, DISPATCH_PROPERTYGET, nullptr, 0, VT_DISPATCH, result) ||
        result.Get()->pdispVal == nullptr) {
        return false;
    }
    value = AutomationObject(std::exchange(result.Get()->pdispVal, nullptr));
    return true;
}

bool AutomationObject::GetItem(long index, AutomationObject& item) const {
    ScopedVariant argument;
    argument.Get()->vt = VT_I4;
    argument.Get()->lVal = index;
    ScopedVariant result;
    if (!GetResult(L"Item", kGetFlags, argument.Get(), 1, VT_DISPATCH, result) ||
        result.Get()->pdispVal == nullptr) {
        return false;
    }
    item = AutomationObject(std::exchange(result.Get()->pdispVal, nullptr));
    return true;
}

bool AutomationObject::Call(const wchar_t* name, const std::string& argument) const {
    ScopedVariant text;
    text.Get()->bstrVal = SysAllocString(AnsiToWide(argument).c_str());
    if (text.Get()->bstrVal == nullptr) {
        return false;
    }
    text.Get()->vt = VT_BSTR;
    ScopedVariant result;
    return Invoke(name, DISPATCH_METHOD, text.Get(), 1, result) == S_OK;
}

bool AutomationObject::Supports(const IID& iid) const {
    if (!m_object) {
        return false;
    }
    IUnknown* raw = nullptr;
    HRESULT hr = m_object.Get()->QueryInterface(iid, reinterpret_cast<void**>(&raw));
    ScopedInterface<IUnknown> answer(raw);
    return hr == S_OK && answer;
}
