#include "project/XmlTree.h"

#include "app/framework/ScopedCom.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// The system's parser refuses documents nested deeper than 256 elements; far below that, and far
// below its limits on names and values, we are sure to agree with it.
constexpr size_t kMaxDepth = 128;
constexpr size_t kMaxNameLength = 1000;
constexpr size_t kMaxValueLength = 1 << 20;

// The ASCII characters that stand for themselves in text and in attribute values: not markup, not
// references, not line ends or tabs in a value (which become blanks), nor the "]" that could
// start a "]]>".
enum : unsigned char { kPlainInText = 1, kPlainInAttribute = 2 };
constexpr std::array<unsigned char, 256> kPlain = [] {
    std::array<unsigned char, 256> plain{};
    for (size_t c = 0x20; c < 0x80; ++c) {
        plain[c] = kPlainInText | kPlainInAttribute;
    }
    plain['<'] = plain['&'] = 0;
    plain[']'] = kPlainInAttribute;
    plain['"'] = plain['\''] = plain['\t'] = plain['\n'] = kPlainInText;
    return plain;
}();

// XML's white space.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Any character some notion of white space might trim, beyond XML's own.
bool MayBeTrimmed(wchar_t c) {
    return c <= L' ' || c == 0x85 || c == 0xA0 || c == 0x1680 || c == 0x180E ||
           (c >= 0x2000 && c <= 0x200D) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// Colons are left out: they would bring namespaces in.
bool IsNameCharacter(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength || !IsNameStart(name[0])) {
        return false;
    }
    for (char c : name) {
        if (!IsNameCharacter(c)) {
            return false;
        }
    }
    return true;
}

bool IsXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Whether the eight bytes are all in 0x20-0x7F: the bulk of a project file, checked a word at a
// time.
bool ArePrintableAscii(const unsigned char* bytes) {
    constexpr uint64_t kHighBits = 0x8080808080808080;
    constexpr uint64_t kBlanks = 0x2020202020202020;
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    // With no high bit set, a byte below 0x20 is one whose subtraction borrows into its high bit.
    return (word & kHighBits) == 0 && ((word - kBlanks) & ~word & kHighBits) == 0;
}

// Checks the whole input once, so that the parser can decode without checking again: every
// sequence is shortest-form UTF-8 for a character XML allows. A UTF-16 or UTF-32 document, with or
// without its byte-order mark, fails here on its first zero or 0xFE/0xFF byte.
bool HoldsOnlyXmlCharacters(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8 && ArePrintableAscii(p)) {
            p += 8;
            continue;
        }
        unsigned char lead = *p;
        if (lead < 0x80) {
            if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') {
                return false;
            }
            ++p;
            continue;
        }
        size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
        if (length == 0 || static_cast<size_t>(end - p) < length) {
            return false;
        }
        char32_t c = lead & (0x7F >> length);
        for (size_t i = 1; i < length; ++i) {
            if (!IsContinuation(p[i])) {
                return false;
            }
            c = (c << 6) | (p[i] & 0x3F);
        }
        bool shortest = length == 2 || (length == 3 && c >= 0x800) || (length == 4 && c >= 0x10000);
        if (!shortest || !IsXmlCharacter(c)) {
            return false;
        }
        p += length;
    }
    return true;
}

void AppendUtf16(std::wstring& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<wchar_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    }
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != lower[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

struct XmlTree::Step {
    int name = -1;
    bool keyed = false;
    int attribute = -1;
    std::wstring value;
};

class XmlTree::Parser {
public:
    Parser(XmlTree& tree, std::string_view bytes) : m_tree(tree), m_bytes(bytes) { m_recentNames.fill(-1); }

    bool Run() {
        if (!HoldsOnlyXmlCharacters(m_bytes)) {
            return false;
        }
        Reserve();
        if (StartsWith("\xEF\xBB\xBF")) {
            m_position = 3;
        }
        if (StartsWith("<?xml") && IsBlank(Peek(5)) && !ParseDeclaration()) {
            return false;
        }
        while (m_position < m_bytes.size()) {
            if (!ParseNext()) {
                return false;
            }
        }
        return m_rootSeen && m_open.empty();
    }

private:
    struct OpenElement {
        int element = 0;
        std::string_view name;
        // A piece of text that is not blank: no child may follow.
        bool hasText = false;
        // A piece of text the DOM might trim.
        bool loose = false;
        // A blank piece, which is dropped beside children and is empty text when alone.
        bool blank = false;
        // Pieces of text, sections, comments and instructions.
        int nodes = 0;
    };

    // A guess from the markup characters, so that the tables grow once or not at all.
    void Reserve() {
        size_t tags = 0;
        size_t equals = 0;
        for (char c : m_bytes) {
            tags += c == '<';
            equals += c == '=';
        }
        m_tree.m_elements.reserve(tags / 2 + 1);
        m_tree.m_attributes.reserve(equals);
    }

    char Peek(size_t offset = 0) const {
        return m_position + offset < m_bytes.size() ? m_bytes[m_position + offset] : '\0';
    }

    bool StartsWith(std::string_view text) const { return m_bytes.substr(m_position, text.size()) == text; }

    bool Skip(std::string_view text) {
        if (!StartsWith(text)) {
            return false;
        }
        m_position += text.size();
        return true;
    }

    size_t SkipBlanks() {
        size_t start = m_position;
        while (IsBlank(Peek())) {
            ++m_position;
        }
        return m_position - start;
    }

    bool ParseName(std::string_view& name) {
        size_t start = m_position;
        while (IsNameCharacter(Peek())) {
            ++m_position;
        }
        name = m_bytes.substr(start, m_position - start);
        return IsName(name);
    }

    // The same few names come back on every element: a name seen lately is found without hashing.
    int Intern(std::string_view name) {
        int& recent = m_recentNames[(name.size() * 31 + static_cast<unsigned char>(name.front()) * 7 +
                                     static_cast<unsigned char>(name.back())) %
                                    m_recentNames.size()];
        if (recent >= 0 && m_spellings[static_cast<size_t>(recent)] == name) {
            return recent;
        }
        auto found = m_tree.m_nameIds.find(name);
        if (found != m_tree.m_nameIds.end()) {
            recent = found->second;
            return recent;
        }
        recent = static_cast<int>(m_tree.m_names.size());
        m_tree.m_names.emplace_back(name.begin(), name.end());
        m_tree.m_nameIds.emplace(std::string(name), recent);
        m_spellings.push_back(name);
        return recent;
    }

    // version, then optionally encoding and standalone, in that order; only version 1.0 and
    // UTF-8 are known to read exactly as the DOM reads them.
    bool ParseDeclaration() {
        m_position += 5;
        std::string_view value;
        if (!ParseDeclarationItem("version", value) || value != "1.0") {
            return false;
        }
        size_t mark = m_position;
        if (ParseDeclarationItem("encoding", value)) {
            if (!EqualsIgnoringCase(value, "utf-8")) {
                return false;
            }
            mark = m_position;
        }
        m_position = mark;
        if (ParseDeclarationItem("standalone", value)) {
            if (value != "yes" && value != "no") {
                return false;
            }
            mark = m_position;
        }
        m_position = mark;
        SkipBlanks();
        return Skip("?>");
    }

    bool ParseDeclarationItem(std::string_view name, std::string_view& value) {
        if (SkipBlanks() == 0 || !Skip(name)) {
            return false;
        }
        SkipBlanks();
        if (!Skip("=")) {
            return false;
        }
        SkipBlanks();
        char quote = Peek();
        if (quote != '"' && quote != '\'') {
            return false;
        }
        size_t close = m_bytes.find(quote, m_position + 1);
        if (close == std::string_view::npos) {
            return false;
        }
        value = m_bytes.substr(m_position + 1, close - m_position - 1);
        m_position = close + 1;
        return true;
    }

    bool ParseNext() {
        if (Peek() != '<') {
            return ParseText();
        }
        if (StartsWith("</")) {
            return ParseEndTag();
        }
        if (Skip("<!--")) {
            return ParseComment();
        }
        if (Skip("<?")) {
            return ParseProcessingInstruction();
        }
        if (Skip("<![CDATA[")) {
            return ParseCData();
        }
        // A document type, or markup that does not exist.
        if (StartsWith("<!")) {
            return false;
        }
        return ParseStartTag();
    }

    // The text of a leaf element is the decoded text of its pieces, one after another; white
    // space between elements is dropped, as the DOM drops it.
    bool ParseText() {
        size_t start = m_position;
        SkipBlanks();
        if (m_position == m_bytes.size() || Peek() == '<') {
            if (!m_open.empty()) {
                m_open.back().blank = true;
                ++m_open.back().nodes;
            }
            return true;
        }
        if (m_open.empty()) {
            return false;
        }
        m_position = start;
        size_t textStart = m_text.size();
        for (;;) {
            AppendPlainRun(m_text, kPlainInText);
            char c = Peek();
            if (c == '<' || m_position == m_bytes.size()) {
                return AddText(m_open.back(), textStart);
            }
            if (c == '&') {
                if (!ParseReference(m_text)) {
                    return false;
                }
            } else if (StartsWith("]]>")) {
                return false;
            } else {
                AppendCharacter(m_text, false);
            }
        }
    }

    // CDATA sections are text like any other.
    bool ParseCData() {
        size_t close = m_bytes.find("]]>", m_position);
        if (m_open.empty() || close == std::string_view::npos) {
            return false;
        }
        OpenElement& open = m_open.back();
        size_t start = m_text.size();
        while (m_position < close) {
            AppendCharacter(m_text, false);
        }
        m_position = close + 3;
        return AddText(open, start);
    }

    // Text beside children is declined, and so is a piece the DOM might trim or an empty section,
    // a node of its own whose effect on the text is not modelled.
    bool AddText(OpenElement& open, size_t start) {
        if (m_tree.m_elements[static_cast<size_t>(open.element)].hasChildren) {
            return false;
        }
        open.hasText = true;
        ++open.nodes;
        if (m_text.size() == start || MayBeTrimmed(m_text[start]) || MayBeTrimmed(m_text.back())) {
            open.loose = true;
        }
        return m_text.size() <= kMaxValueLength;
    }

    bool ParseComment() {
        size_t dashes = m_bytes.find("--", m_position);
        if (dashes == std::string_view::npos || m_bytes.substr(dashes, 3) != "-->") {
            return false;
        }
        m_position = dashes + 3;
        CountNode();
        return true;
    }

    bool ParseProcessingInstruction() {
        std::string_view target;
        if (!ParseName(target) || EqualsIgnoringCase(target, "xml")) {
            return false;
        }
        if (!Skip("?>")) {
            size_t close = m_bytes.find("?>", m_position);
            if (!IsBlank(Peek()) || close == std::string_view::npos) {
                return false;
            }
            m_position = close + 2;
        }
        CountNode();
        return true;
    }

    // Comments and instructions part the text around them into pieces.
    void CountNode() {
        if (!m_open.empty()) {
            ++m_open.back().nodes;
        }
    }

    bool ParseStartTag() {
        ++m_position;
        std::string_view name;
        if (!ParseName(name) || m_open.size() >= kMaxDepth) {
            return false;
        }
        int parent = -1;
        if (m_open.empty()) {
            if (m_rootSeen) {
                return false;
            }
            m_rootSeen = true;
        } else {
            if (m_open.back().hasText) {
                return false;
            }
            parent = m_open.back().element;
            m_tree.m_elements[static_cast<size_t>(parent)].hasChildren = true;
        }
        int element = static_cast<int>(m_tree.m_elements.size());
        Element& record = m_tree.m_elements.emplace_back();
        record.name = Intern(name);
        record.parent = parent;
        record.firstAttribute = m_tree.m_attributes.size();
        m_open.push_back({element, name});
        for (;;) {
            size_t blanks = SkipBlanks();
            if (Skip(">")) {
                return true;
            }
            if (Skip("/>")) {
                return CloseElement();
            }
            if (blanks == 0 || !ParseAttribute(record)) {
                return false;
            }
        }
    }

    // A namespace declaration would change what a query's names select.
    bool ParseAttribute(Element& record) {
        std::string_view name;
        if (!ParseName(name) || name == "xmlns") {
            return false;
        }
        SkipBlanks();
        if (!Skip("=")) {
            return false;
        }
        SkipBlanks();
        int id = Intern(name);
        for (size_t i = 0; i < record.attributeCount; ++i) {
            if (m_tree.m_attributes[record.firstAttribute + i].name == id) {
                return false;
            }
        }
        if (!ParseAttributeValue()) {
            return false;
        }
        m_tree.m_attributes.push_back({id, m_value});
        ++record.attributeCount;
        return true;
    }

    bool ParseAttributeValue() {
        char quote = Peek();
        if (quote != '"' && quote != '\'') {
            return false;
        }
        ++m_position;
        m_value.clear();
        for (;;) {
            AppendPlainRun(m_value, kPlainInAttribute);
            char c = Peek();
            if (c == quote) {
                ++m_position;
                return m_value.size() <= kMaxValueLength;
            }
            if (c == '<' || m_position == m_bytes.size()) {
                return false;
            }
            if (c == '&') {
                if (!ParseReference(m_value)) {
                    return false;
                }
            } else {
                AppendCharacter(m_value, true);
            }
        }
    }

    bool ParseEndTag() {
        m_position += 2;
        std::string_view name;
        if (!ParseName(name)) {
            return false;
        }
        SkipBlanks();
        return Skip(">") && !m_open.empty() && m_open.back().name == name && CloseElement();
    }

    bool CloseElement() {
        const OpenElement& open = m_open.back();
        Element& record = m_tree.m_elements[static_cast<size_t>(open.element)];
        if (!record.hasChildren) {
            if (open.loose || (open.blank && open.nodes > 1)) {
                return false;
            }
            record.text = m_text;
        }
        m_text.clear();
        m_open.pop_back();
        return true;
    }

    // The characters up to the next one that needs a closer look, which in a project file are
    // nearly all of them.
    void AppendPlainRun(std::wstring& out, unsigned char context) {
        size_t end = m_position;
        while (end < m_bytes.size() && (kPlain[static_cast<unsigned char>(m_bytes[end])] & context) != 0) {
            ++end;
        }
        size_t start = out.size();
        out.resize(start + end - m_position);
        std::transform(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position),
                       m_bytes.begin() + static_cast<std::ptrdiff_t>(end),
                       out.begin() + static_cast<std::ptrdiff_t>(start),
                       [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
        m_position = end;
    }

    // One character of text or of an attribute value, after the line ends are made LF and, in an
    // attribute value, each tab and line end a blank.
    void AppendCharacter(std::wstring& out, bool attribute) {
        auto lead = static_cast<unsigned char>(Peek());
        if (lead == '\r') {
            m_position += Peek(1) == '\n' ? 2 : 1;
            out += attribute ? L' ' : L'\n';
        } else if (attribute && (lead == '\n' || lead == '\t')) {
            ++m_position;
            out += L' ';
        } else if (lead < 0x80) {
            ++m_position;
            out += static_cast<wchar_t>(lead);
        } else {
            size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            char32_t c = lead & (0x7F >> length);
            for (size_t i = 1; i < length; ++i) {
                c = (c << 6) | (static_cast<unsigned char>(m_bytes[m_position + i]) & 0x3F);
            }
            m_position += length;
            AppendUtf16(out, c);
        }
    }

    // The predefined entities and character references, which the DOM gives as the character
    // itself, unchanged by the line-end and blank rules.
    bool ParseReference(std::wstring& out) {
        ++m_position;
        size_t semicolon = m_bytes.find(';', m_position);
        if (semicolon == std::string_view::npos) {
            return false;
        }
        std::string_view body = m_bytes.substr(m_position, semicolon - m_position);
        m_position = semicolon + 1;
        static constexpr std::pair<std::string_view, wchar_t> kEntities[] = {
            {"lt", L'<'}, {"gt", L'>'}, {"amp", L'&'}, {"apos", L'\''}, {"quot", L'"'}};
        for (const auto& [entity, character] : kEntities) {
            if (body == entity) {
                out += character;
                return true;
            }
        }
        if (body.size() < 2 || body[0] != '#') {
            return false;
        }
        bool hex = body[1] == 'x';
        std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return false;
        }
        char32_t c = 0;
        for (char digit : digits) {
            int value = digit >= '0' && digit <= '9'          ? digit - '0'
                        : hex && digit >= 'a' && digit <= 'f' ? digit - 'a' + 10
                        : hex && digit >= 'A' && digit <= 'F' ? digit - 'A' + 10
                                                              : -1;
            if (value < 0) {
                return false;
            }
            c = c * (hex ? 16 : 10) + static_cast<char32_t>(value);
            if (c > 0x10FFFF) {
                return false;
            }
        }
        if (!IsXmlCharacter(c)) {
            return false;
        }
        AppendUtf16(out, c);
        return true;
    }

    XmlTree& m_tree;
    std::string_view m_bytes;
    size_t m_position = 0;
    bool m_rootSeen = false;
    std::vector<OpenElement> m_open;
    // Each name as the document spells it, by id.
    std::vector<std::string_view> m_spellings;
    std::array<int, 64> m_recentNames;
    // The text of the innermost open element: an element with text has no children.
    std::wstring m_text;
    std::wstring m_value;
};

bool XmlTree::Parse(std::string_view bytes) {
    *this = {};
    if (Parser(*this, bytes).Run()) {
        return true;
    }
    *this = {};
    return false;
}

const std::wstring& XmlTree::Name(int element) const {
    return m_names[static_cast<size_t>(m_elements[static_cast<size_t>(element)].name)];
}

const std::wstring* XmlTree::Attribute(int element, std::wstring_view name) const {
    const Element& record = m_elements[static_cast<size_t>(element)];
    for (size_t i = record.firstAttribute; i < record.firstAttribute + record.attributeCount; ++i) {
        if (m_names[static_cast<size_t>(m_attributes[i].name)] == name) {
            return &m_attributes[i].value;
        }
    }
    return nullptr;
}

bool XmlTree::ParseQuery(std::string_view xpath, std::vector<Step>& steps) const {
    if (xpath.substr(0, 2) != "//") {
        return false;
    }
    size_t position = 2;
    // A name that is not in the document is kept as -1, which nothing matches.
    auto take = [&](std::string_view terminators, int& id) {
        size_t end = xpath.find_first_of(terminators, position);
        std::string_view name = xpath.substr(position, end == std::string_view::npos ? end : end - position);
        position = end == std::string_view::npos ? xpath.size() : end;
        auto found = m_nameIds.find(name);
        id = found == m_nameIds.end() ? -1 : found->second;
        return IsName(name);
    };
    for (;;) {
        Step& step = steps.emplace_back();
        if (!take("/[", step.name)) {
            return false;
        }
        if (xpath.substr(position, 2) == "[@") {
            position += 2;
            step.keyed = true;
            if (!take("=", step.attribute) || position + 1 >= xpath.size()) {
                return false;
            }
            char quote = xpath[position + 1];
            size_t close = xpath.find(quote, position + 2);
            if ((quote != '"' && quote != '\'') || close == std::string_view::npos ||
                xpath.substr(close + 1, 1) != "]") {
                return false;
            }
            step.value = AnsiToWide(std::string(xpath.substr(position + 2, close - position - 2)));
            position = close + 2;
        }
        if (position == xpath.size()) {
            return true;
        }
        if (xpath[position] != '/') {
            return false;
        }
        ++position;
    }
}

// A path of child steps below "//": the element matches the last step, its parent the one
// before, and so on; any element at all can match the first.
bool XmlTree::Matches(int element, const std::vector<Step>& steps) const {
    for (size_t level = steps.size(); level-- > 0;) {
        if (element < 0) {
            return false;
        }
        const Element& record = m_elements[static_cast<size_t>(element)];
        const Step& step = steps[level];
        if (record.name != step.name) {
            return false;
        }
        if (step.keyed) {
            const std::wstring* value =
                step.attribute < 0 ? nullptr
                                   : Attribute(element, m_names[static_cast<size_t>(step.attribute)]);
            if (value == nullptr || *value != step.value) {
                return false;
            }
        }
        element = record.parent;
    }
    return true;
}

std::vector<int> XmlTree::Select(std::string_view xpath, size_t limit) const {
    std::vector<int> found;
    std::vector<Step> steps;
    if (!ParseQuery(xpath, steps)) {
        return found;
    }
    for (size_t element = 0; element < m_elements.size() && found.size() < limit; ++element) {
        if (Matches(static_cast<int>(element), steps)) {
            found.push_back(static_cast<int>(element));
        }
    }
    return found;
}

int XmlTree::SelectFirst(std::string_view xpath) const {
    std::vector<int> found = Select(xpath, 1);
    return found.empty() ? -1 : found.front();
}

std::vector<int> XmlTree::SelectAll(std::string_view xpath) const {
    return Select(xpath, m_elements.size());
}
