#include "project/SystemDomSource.h"

#include "project/MsxmlIdentifiers.h"

namespace {

ScopedBstr ToBstr(const std::string& ansi) {
    return ::ToBstr(AnsiToWide(ansi));
}

HRESULT SetProperty(IXMLDOMDocument2* document, const wchar_t* name, const ScopedVariant& value) {
    ScopedBstr property(SysAllocString(name));
    return document->setProperty(property.Get(), *value.Get());
}

} // namespace

SystemDomSource::~SystemDomSource() {
    m_nodes.clear();
    m_document.Reset();
    if (m_comInitialised) {
        CoUninitialize();
    }
}

bool SystemDomSource::Load(const std::string& path) {
    if (!m_comInitialised) {
        m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
        if (!m_comInitialised) {
            return false;
        }
    }
    IXMLDOMDocument2* document = nullptr;
    if (FAILED(CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, kDomDocument2Interface,
                                reinterpret_cast<void**>(&document)))) {
        return false;
    }
    m_document.Reset(document);
    // MSXML 3 would otherwise read queries as XSL patterns and load in the background.
    ScopedVariant language;
    language.Get()->vt = VT_BSTR;
    language.Get()->bstrVal = SysAllocString(L"XPath");
    if (FAILED(SetProperty(document, L"SelectionLanguage", language)) ||
        FAILED(document->put_async(VARIANT_FALSE))) {
        return false;
    }
    // MSXML 3 also takes a document type in, fetches what it names and validates against it: a few
    // lines of entities can keep a load busy for hours. No project file has one, so the document is
    // told to refuse it. Wine's component ignores that property, which is why the reader keeps such
    // files from the component in the first place, and its result does not matter.
    ScopedVariant prohibit;
    prohibit.Get()->vt = VT_BOOL;
    prohibit.Get()->boolVal = VARIANT_TRUE;
    SetProperty(document, L"ProhibitDTD", prohibit);
    if (FAILED(document->put_resolveExternals(VARIANT_FALSE)) ||
        FAILED(document->put_validateOnParse(VARIANT_FALSE))) {
        return false;
    }
    // Wine's DOM never returns from a load of a file whose folder is missing; a missing file is
    // an empty document either way.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    ScopedVariant source;
    source.Get()->vt = VT_BSTR;
    source.Get()->bstrVal = ToBstr(path).Release();
    VARIANT_BOOL parsed = VARIANT_FALSE;
    HRESULT loaded = document->load(*source.Get(), &parsed);
    m_parsed = parsed == VARIANT_TRUE;
    return SUCCEEDED(loaded);
}

int SystemDomSource::Keep(IXMLDOMNode* node) {
    IXMLDOMElement* element = nullptr;
    if (FAILED(node->QueryInterface(kDomElementInterface, reinterpret_cast<void**>(&element)))) {
        element = nullptr;
    }
    m_nodes.push_back({ScopedInterface<IXMLDOMNode>(node), ScopedInterface<IXMLDOMElement>(element)});
    return static_cast<int>(m_nodes.size()) - 1;
}

std::wstring SystemDomSource::RootName() {
    IXMLDOMElement* rawRoot = nullptr;
    if (!m_document || m_document.Get()->get_documentElement(&rawRoot) != S_OK || rawRoot == nullptr) {
        return {};
    }
    ScopedInterface<IXMLDOMElement> root(rawRoot);
    BSTR raw = nullptr;
    if (FAILED(root.Get()->get_tagName(&raw))) {
        return {};
    }
    ScopedBstr name(raw);
    return std::wstring(raw, SysStringLen(raw));
}

int SystemDomSource::SelectFirst(const std::string& query) {
    IXMLDOMNode* node = nullptr;
    if (!m_document || m_document.Get()->selectSingleNode(ToBstr(query).Get(), &node) != S_OK ||
        node == nullptr) {
        return -1;
    }
    return Keep(node);
}

std::vector<int> SystemDomSource::SelectAll(const std::string& path) {
    std::vector<int> nodes;
    IXMLDOMNodeList* rawList = nullptr;
    if (!m_document || m_document.Get()->selectNodes(ToBstr(path).Get(), &rawList) != S_OK) {
        return nodes;
    }
    ScopedInterface<IXMLDOMNodeList> list(rawList);
    IXMLDOMNode* node = nullptr;
    while (list.Get()->nextNode(&node) == S_OK && node != nullptr) {
        nodes.push_back(Keep(node));
    }
    return nodes;
}

int SystemDomSource::Parent(int node) {
    IXMLDOMNode* parent = nullptr;
    if (node < 0 || m_nodes[static_cast<size_t>(node)].node.Get()->get_parentNode(&parent) != S_OK ||
        parent == nullptr) {
        return -1;
    }
    return Keep(parent);
}

bool SystemDomSource::Attribute(int node, const std::wstring& name, std::wstring& value) {
    IXMLDOMElement* element = node < 0 ? nullptr : m_nodes[static_cast<size_t>(node)].element.Get();
    ScopedVariant attribute;
    if (element == nullptr || element->getAttribute(ToBstr(name).Get(), attribute.Get()) != S_OK ||
        attribute.Get()->vt != VT_BSTR) {
        return false;
    }
    value.assign(attribute.Get()->bstrVal, SysStringLen(attribute.Get()->bstrVal));
    return true;
}

bool SystemDomSource::Text(int node, std::wstring& text) {
    BSTR raw = nullptr;
    if (node < 0 || FAILED(m_nodes[static_cast<size_t>(node)].node.Get()->get_text(&raw))) {
        return false;
    }
    ScopedBstr owned(raw);
    text.assign(raw, SysStringLen(raw));
    return true;
}
