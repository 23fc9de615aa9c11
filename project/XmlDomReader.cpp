#include "project/XmlDomReader.h"

#include "app/framework/Scoped.h"

#include <msxml2.h>

#include <cstdio>

namespace {

// MinGW's import libraries do not carry the MSXML identifiers. The class is MSXML 3's DOM
// document, which every supported Windows (and Wine) provides.
const CLSID kDomDocumentClass = {
    0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kDomDocument2Interface = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kDomElementInterface = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

template <typename T> void ReleaseInterface(T* object) {
    object->Release();
}
template <typename T> using ScopedInterface = ScopedResource<T*, NullTraits<T*, ReleaseInterface<T>>>;

inline void FreeBstr(BSTR text) {
    SysFreeString(text);
}
using ScopedBstr = ScopedResource<BSTR, NullTraits<BSTR, FreeBstr>>;

ScopedBstr ToBstr(const std::string& ansi) {
    int ansiLength = static_cast<int>(ansi.size());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
    ScopedBstr wide(SysAllocStringLen(nullptr, static_cast<UINT>(wideLength)));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, wide.Get(), wideLength);
    return wide;
}

std::string ToAnsi(BSTR wide) {
    int wideLength = static_cast<int>(SysStringLen(wide));
    int ansiLength = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(ansiLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, wideLength, ansi.data(), ansiLength, nullptr, nullptr);
    return ansi;
}

// The edit controls that show these values want CR LF; a file may hold either form.
std::string WithCrLf(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        if (text[i] == '\n') {
            result += '\r';
        }
        result += text[i];
    }
    return result;
}

} // namespace

XmlDomReader::~XmlDomReader() {
    if (m_document != nullptr) {
        m_document->Release();
    }
    if (m_comInitialised) {
        CoUninitialize();
    }
}

bool XmlDomReader::Load(const std::string& path) {
    if (!m_comInitialised) {
        m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
        if (!m_comInitialised) {
            return false;
        }
    }
    if (m_document == nullptr &&
        FAILED(CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, kDomDocument2Interface,
                                reinterpret_cast<void**>(&m_document)))) {
        return false;
    }
    // MSXML 3 would otherwise read queries as XSL patterns and load in the background.
    VARIANT language;
    VariantInit(&language);
    ScopedBstr xpath(SysAllocString(L"XPath"));
    language.vt = VT_BSTR;
    language.bstrVal = xpath.Get();
    ScopedBstr selectionLanguage(SysAllocString(L"SelectionLanguage"));
    if (FAILED(m_document->setProperty(selectionLanguage.Get(), language)) ||
        FAILED(m_document->put_async(VARIANT_FALSE))) {
        return false;
    }
    ScopedBstr widePath = ToBstr(path);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = widePath.Get();
    VARIANT_BOOL parsed = VARIANT_FALSE;
    return SUCCEEDED(m_document->load(source, &parsed));
}

IXMLDOMNode* XmlDomReader::SelectNode(const std::string& xpath) const {
    IXMLDOMNode* node = nullptr;
    if (m_document == nullptr || m_document->selectSingleNode(ToBstr(xpath).Get(), &node) != S_OK) {
        return nullptr;
    }
    return node;
}

void XmlDomReader::ReadString(const std::string& xpath, const std::string& attribute,
                              std::string& value) const {
    value.clear();
    ScopedInterface<IXMLDOMNode> node(SelectNode(xpath));
    IXMLDOMElement* rawElement = nullptr;
    if (!node ||
        FAILED(node.Get()->QueryInterface(kDomElementInterface, reinterpret_cast<void**>(&rawElement)))) {
        return;
    }
    ScopedInterface<IXMLDOMElement> element(rawElement);
    VARIANT attributeValue;
    VariantInit(&attributeValue);
    if (element.Get()->getAttribute(ToBstr(attribute).Get(), &attributeValue) == S_OK &&
        attributeValue.vt == VT_BSTR) {
        value = WithCrLf(ToAnsi(attributeValue.bstrVal));
    }
    VariantClear(&attributeValue);
}

void XmlDomReader::ReadInt(const std::string& xpath, const std::string& attribute, int& value) const {
    std::string text;
    ReadString(xpath, attribute, text);
    int parsed = 0;
    if (std::sscanf(text.c_str(), "%d", &parsed) == 1) {
        value = parsed;
    }
}

void XmlDomReader::ReadText(const std::string& xpath, std::string& value) const {
    ScopedInterface<IXMLDOMNode> node(SelectNode(xpath));
    BSTR rawText = nullptr;
    if (!node || FAILED(node.Get()->get_text(&rawText))) {
        return;
    }
    ScopedBstr text(rawText);
    value = ToAnsi(text.Get());
}
