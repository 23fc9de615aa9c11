#include "project/XmlDomReader.h"

#include "app/framework/ScopedCom.h"
#include "project/SystemDomSource.h"
#include "project/XmlTree.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string_view>

namespace {

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

// The program's own parse of a document it accepted.
class TreeSource final : public XmlNodeSource {
public:
    explicit TreeSource(XmlTree tree) : m_tree(std::move(tree)) {}

    // A document the tree accepted has a root, and it comes first.
    std::wstring RootName() override { return m_tree.Name(0); }
    int SelectFirst(const std::string& query) override { return m_tree.SelectFirst(query); }
    std::vector<int> SelectAll(const std::string& path) override { return m_tree.SelectAll(path); }
    int Parent(int node) override { return m_tree.Parent(node); }
    bool Attribute(int node, const std::wstring& name, std::wstring& value) override {
        const std::wstring* found = m_tree.Attribute(node, name);
        if (found != nullptr) {
            value = *found;
        }
        return found != nullptr;
    }
    // The text of an element without element children, as the DOM gives it. One with children has
    // none here: the project's track elements, the only ones whose text is read, never have any,
    // and the joined text the DOM would give for a hand-edited one names no file the program made.
    bool Text(int node, std::wstring& text) override {
        text = m_tree.Text(node);
        return true;
    }

private:
    XmlTree m_tree;
};

// Whether the bytes hold a document type declaration in any encoding that writes ASCII as single
// bytes or as bytes padded with zeros: UTF-8, the ANSI code pages, UTF-16 and UTF-32. Anywhere in
// the file, not only where a declaration belongs: the component is not to see one at all.
bool HoldsDocumentType(std::string_view bytes) {
    constexpr std::string_view kDeclaration = "<!DOCTYPE";
    for (size_t start = bytes.find('<'); start != std::string_view::npos;
         start = bytes.find('<', start + 1)) {
        size_t matched = 1;
        for (size_t i = start + 1; i < bytes.size() && matched < kDeclaration.size(); ++i) {
            if (bytes[i] == kDeclaration[matched]) {
                ++matched;
            } else if (bytes[i] != '\0') {
                break;
            }
        }
        if (matched == kDeclaration.size()) {
            return true;
        }
    }
    return false;
}

std::string ReadWholeFile(const std::string& path) {
    ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {};
    }
    bytes.resize(read);
    return bytes;
}

} // namespace

bool XmlDomReader::Load(const std::string& path, Parser parser) {
    m_last = {};
    m_index.clear();
    m_keyedIds.clear();
    m_indexSteps.clear();
    m_unreadable = false;
    m_source.reset();
    std::string bytes = ReadWholeFile(path);
    if (parser == Parser::OwnFirst) {
        XmlTree tree;
        if (tree.Parse(bytes)) {
            m_source = std::make_unique<TreeSource>(std::move(tree));
            return true;
        }
    }
    // The entities of a document type can make the component expand a file of kilobytes into
    // gigabytes, and not every version of it can be told to refuse one. The program never writes
    // one, so such a file is unreadable whatever else it holds.
    if (HoldsDocumentType(bytes)) {
        m_unreadable = true;
        return true;
    }
    auto dom = std::make_unique<SystemDomSource>();
    if (!dom->Load(path)) {
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA file{};
    m_unreadable = !dom->Parsed() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file) &&
                   (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                   (file.nFileSizeLow != 0 || file.nFileSizeHigh != 0);
    m_source = std::move(dom);
    return true;
}

std::string XmlDomReader::RootName() const {
    std::wstring name = m_source ? m_source->RootName() : std::wstring();
    return WideToAnsi(name.data(), name.size());
}

int XmlDomReader::Select(const std::string& xpath) const {
    if (m_last.made && m_last.query == xpath) {
        return m_last.node;
    }
    int node = -1;
    std::wstring query = AnsiToWide(xpath);
    if (IsIndexedQuery(query)) {
        auto found = m_index.find(query);
        node = found == m_index.end() ? -1 : found->second;
    } else if (m_source) {
        node = m_source->SelectFirst(xpath);
    }
    m_last = {true, xpath, node};
    return node;
}

void XmlDomReader::ReadString(const std::string& xpath, const std::string& attribute,
                              std::string& value) const {
    value.clear();
    int node = Select(xpath);
    std::wstring wide;
    if (node >= 0 && m_source->Attribute(node, AnsiToWide(attribute), wide)) {
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
    int node = Select(xpath);
    std::wstring text;
    if (node >= 0 && m_source->Text(node, text)) {
        value = WideToAnsi(text.data(), text.size());
    }
}

void XmlDomReader::IndexKeyedElements(const std::string& base, const std::vector<std::string>& names,
                                      const std::string& attribute) {
    m_indexBase = AnsiToWide(base);
    m_indexAttribute = AnsiToWide(attribute);
    m_indexNames = names;
    m_indexSteps.clear();
    for (const std::string& name : names) {
        m_indexSteps.push_back(L"/" + AnsiToWide(name) + L"[@" + m_indexAttribute + L"=\"");
    }
    for (size_t depth = 0; m_source && depth < m_indexNames.size(); ++depth) {
        IndexLevel(depth);
    }
}

void XmlDomReader::IndexLevel(size_t depth) {
    std::string path = WideToAnsi(m_indexBase.data(), m_indexBase.size());
    for (size_t level = 0; level <= depth; ++level) {
        path += "/" + m_indexNames[level];
    }
    // The list comes in document order, so the first node stored under a key is the one a
    // single-node query for that key selects.
    for (int node : m_source->SelectAll(path)) {
        std::vector<std::wstring> keys(depth + 1);
        int step = node;
        bool keyed = true;
        for (size_t level = depth + 1; level-- > 0 && keyed;) {
            keyed = m_source->Attribute(step, m_indexAttribute, keys[level]);
            if (keyed && level > 0) {
                step = m_source->Parent(step);
                keyed = step >= 0;
            }
        }
        if (!keyed) {
            continue;
        }
        std::wstring parent = m_indexBase;
        for (size_t level = 0; level < depth; ++level) {
            parent += m_indexSteps[level] + keys[level] + L"\"]";
        }
        m_index.try_emplace(parent + m_indexSteps[depth] + keys[depth] + L"\"]", node);
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
