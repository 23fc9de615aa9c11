#include "project/XmlDomReader.h"

#include "app/framework/ScopedCom.h"

#include <msxml2.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <optional>

namespace {

// MinGW's import libraries do not carry the MSXML identifiers. The class is MSXML 3's DOM
// document, which every supported Windows (and Wine) provides.
const CLSID kDomDocumentClass = {
    0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kDomDocument2Interface = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kDomElementInterface = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

ScopedBstr ToBstr(const std::wstring& wide) {
    return ScopedBstr(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
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

// The attribute's value when the node is an element that carries it.
bool ReadAttribute(IXMLDOMNode* node, BSTR name, std::wstring& value) {
    IXMLDOMElement* rawElement = nullptr;
    if (FAILED(node->QueryInterface(kDomElementInterface, reinterpret_cast<void**>(&rawElement)))) {
        return false;
    }
    ScopedInterface<IXMLDOMElement> element(rawElement);
    VARIANT attributeValue;
    VariantInit(&attributeValue);
    bool found = element.Get()->getAttribute(name, &attributeValue) == S_OK && attributeValue.vt == VT_BSTR;
    if (found) {
        value.assign(attributeValue.bstrVal, SysStringLen(attributeValue.bstrVal));
    }
    VariantClear(&attributeValue);
    return found;
}

// The number whose "%d" text the key is, if there is one.
std::optional<int> DecimalId(const std::wstring& key) {
    wchar_t* end = nullptr;
    errno = 0;
    long long value = std::wcstoll(key.c_str(), &end, 10);
    if (errno != 0 || value < INT_MIN || value > INT_MAX || std::to_wstring(value) != key) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace

XmlDomReader::~XmlDomReader() {
    for (auto& entry : m_index) {
        entry.second->Release();
    }
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
    // Wine's DOM never returns from a load of a file whose folder is missing; a missing file is
    // an empty document either way.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    ScopedBstr widePath = ToBstr(AnsiToWide(path));
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = widePath.Get();
    VARIANT_BOOL parsed = VARIANT_FALSE;
    return SUCCEEDED(m_document->load(source, &parsed));
}

IXMLDOMNode* XmlDomReader::SelectNode(const std::string& xpath) const {
    std::wstring query = AnsiToWide(xpath);
    if (IsIndexedQuery(query)) {
        auto found = m_index.find(query);
        if (found == m_index.end()) {
            return nullptr;
        }
        found->second->AddRef();
        return found->second;
    }
    IXMLDOMNode* node = nullptr;
    if (m_document == nullptr || m_document->selectSingleNode(ToBstr(query).Get(), &node) != S_OK) {
        return nullptr;
    }
    return node;
}

void XmlDomReader::ReadString(const std::string& xpath, const std::string& attribute,
                              std::string& value) const {
    value.clear();
    ScopedInterface<IXMLDOMNode> node(SelectNode(xpath));
    std::wstring wide;
    if (node && ReadAttribute(node.Get(), ToBstr(AnsiToWide(attribute)).Get(), wide)) {
        value = WithCrLf(WideToAnsi(wide.data(), wide.size()));
    }
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
    value = WideToAnsi(text.Get(), SysStringLen(text.Get()));
}

void XmlDomReader::IndexKeyedElements(const std::string& base, const std::vector<std::string>& names,
                                      const std::string& attribute) {
    m_indexBase = AnsiToWide(base);
    m_indexAttribute = AnsiToWide(attribute);
    m_indexNames.clear();
    m_indexSteps.clear();
    for (const std::string& name : names) {
        m_indexNames.push_back(AnsiToWide(name));
        m_indexSteps.push_back(L"/" + m_indexNames.back() + L"[@" + m_indexAttribute + L"=\"");
    }
    for (size_t depth = 0; depth < m_indexNames.size(); ++depth) {
        IndexLevel(depth);
    }
}

void XmlDomReader::IndexLevel(size_t depth) {
    std::wstring path = m_indexBase;
    for (size_t level = 0; level <= depth; ++level) {
        path += L"/" + m_indexNames[level];
    }
    IXMLDOMNodeList* rawList = nullptr;
    if (m_document == nullptr || m_document->selectNodes(ToBstr(path).Get(), &rawList) != S_OK) {
        return;
    }
    ScopedInterface<IXMLDOMNodeList> list(rawList);
    ScopedBstr attribute = ToBstr(m_indexAttribute);
    // The list comes in document order, so the first node stored under a key is the one a
    // single-node query for that key selects.
    IXMLDOMNode* rawNode = nullptr;
    while (list.Get()->nextNode(&rawNode) == S_OK && rawNode != nullptr) {
        ScopedInterface<IXMLDOMNode> node(rawNode);
        std::vector<std::wstring> keys(depth + 1);
        ScopedInterface<IXMLDOMNode> step(node.Get());
        node.Get()->AddRef();
        bool keyed = true;
        for (size_t level = depth + 1; level-- > 0 && keyed;) {
            keyed = ReadAttribute(step.Get(), attribute.Get(), keys[level]);
            IXMLDOMNode* parent = nullptr;
            if (keyed && level > 0) {
                keyed = step.Get()->get_parentNode(&parent) == S_OK && parent != nullptr;
                step.Reset(parent);
            }
        }
        if (!keyed) {
            continue;
        }
        std::wstring parent = m_indexBase;
        for (size_t level = 0; level < depth; ++level) {
            parent += m_indexSteps[level] + keys[level] + L"\"]";
        }
        std::wstring query = parent + m_indexSteps[depth] + keys[depth] + L"\"]";
        if (m_index.try_emplace(std::move(query), node.Get()).second) {
            node.Release();
        }
        if (std::optional<int> id = DecimalId(keys[depth])) {
            m_keyedIds[parent].insert(*id);
        }
    }
}

bool XmlDomReader::IsIndexedQuery(const std::wstring& query) const {
    if (m_indexSteps.empty() || query.compare(0, m_indexBase.size(), m_indexBase) != 0) {
        return false;
    }
    size_t position = m_indexBase.size();
    for (const std::wstring& step : m_indexSteps) {
        if (query.compare(position, step.size(), step) != 0) {
            return false;
        }
        size_t quote = query.find(L'"', position + step.size());
        if (quote == std::wstring::npos || query.compare(quote, 2, L"\"]") != 0) {
            return false;
        }
        position = quote + 2;
        if (position == query.size()) {
            return true;
        }
    }
    return false;
}

int XmlDomReader::NextKeyedId(const std::string& parent, int after, int limit) const {
    if (m_indexSteps.empty()) {
        return after + 1;
    }
    auto ids = m_keyedIds.find(AnsiToWide(parent));
    if (ids == m_keyedIds.end()) {
        return limit;
    }
    auto next = ids->second.upper_bound(after);
    return next == ids->second.end() || *next >= limit ? limit : *next;
}
