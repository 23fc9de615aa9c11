// A strict, fast reader for the project files the program writes itself. Loading a large project
// through the system's XML DOM costs far more than the rest of start-up, so documents this reader
// fully understands are answered here, and it declines everything else: for a declined document
// the caller asks the DOM, so the answers are always the DOM's.
//
// Whatever it accepts, it answers as the DOM (MSXML 3, white space not preserved, XPath
// selection) would: the same element for a query, the same attribute values and the same text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class XmlTree {
public:
    // Declines (false, leaving an empty tree) anything that is not well-formed XML 1.0 in UTF-8,
    // anything with a document type, another encoding or version, namespaces, names beyond ASCII
    // letters, digits and "_-.", elements with both children and text, and text whose pieces
    // start or end with white space (which the DOM trims in ways not modelled here). An element
    // holding nothing but blanks has empty text, as in the DOM.
    bool Parse(std::string_view bytes);

    // Queries are ANSI text of the shape //name/name/..., where any step may carry one predicate
    // [@attribute="value"] (or with single quotes) and nothing else, no blanks included. A query
    // of any other shape finds nothing here even where the DOM would find something.
    // The first matching element in document order, -1 for none.
    int SelectFirst(std::string_view xpath) const;
    // Every matching element, in document order.
    std::vector<int> SelectAll(std::string_view xpath) const;

    size_t Count() const { return m_elements.size(); }
    const std::wstring& Name(int element) const;
    // -1 for the root.
    int Parent(int element) const { return m_elements[static_cast<size_t>(element)].parent; }
    // Null when the element does not carry the attribute.
    const std::wstring* Attribute(int element, std::wstring_view name) const;
    // The DOM's text for an element without element children. The DOM's text of an element with
    // children joins theirs in ways not modelled here: such an element's text is empty, and a
    // caller that wants the DOM's answer for it must ask the DOM.
    const std::wstring& Text(int element) const { return m_elements[static_cast<size_t>(element)].text; }
    bool HasChildElements(int element) const { return m_elements[static_cast<size_t>(element)].hasChildren; }

private:
    class Parser;
    struct Step;

    struct Element {
        int name = 0;
        int parent = -1;
        size_t firstAttribute = 0;
        size_t attributeCount = 0;
        bool hasChildren = false;
        std::wstring text;
    };
    struct AttributeValue {
        int name = 0;
        std::wstring value;
    };
    // Lets the tables of names be searched with a view into the document or the query.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };

    // Whether the query has the supported shape; its steps then name ids, or -1 for a name no
    // element or attribute of the document has.
    bool ParseQuery(std::string_view xpath, std::vector<Step>& steps) const;
    bool Matches(int element, const std::vector<Step>& steps) const;
    std::vector<int> Select(std::string_view xpath, size_t limit) const;

    // Names are few and repeated on every element: each is stored once and referred to by id.
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> m_nameIds;
    std::vector<std::wstring> m_names;
    // In document order, which is the order of their start tags.
    std::vector<Element> m_elements;
    std::vector<AttributeValue> m_attributes;
};
