// Reads the project file through the system's XML DOM component, one XPath query per value.
// Values come back in the system code page.
#pragma once

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

struct IXMLDOMDocument2;
struct IXMLDOMNode;

class XmlDomReader {
public:
    XmlDomReader() = default;
    ~XmlDomReader();
    XmlDomReader(const XmlDomReader&) = delete;
    XmlDomReader& operator=(const XmlDomReader&) = delete;

    // False only when COM or the DOM component is unavailable or refuses the load; a missing or
    // malformed file loads as an empty document in which every query finds nothing.
    bool Load(const std::string& path);
    // The attribute of the first node matching the query, empty when either is missing. Line
    // breaks come back as CR LF however they were stored.
    void ReadString(const std::string& xpath, const std::string& attribute, std::string& value) const;
    // Keeps the previous value when the attribute is missing or does not start with a number, so
    // that the caller's default survives.
    void ReadInt(const std::string& xpath, const std::string& attribute, int& value) const;
    // The text content of the first matching node; unchanged when there is no such node.
    void ReadText(const std::string& xpath, std::string& value) const;

    // Answers the queries base/names[0][@attribute="v0"]/names[1][@attribute="v1"]... (any depth
    // up to the number of names) from one pass over the document instead of one search each:
    // a project of years of discs would otherwise take a search of the whole document for every
    // value. Each answer is the node such a query selects: the first match in document order,
    // and no node for a key that no element carries.
    void IndexKeyedElements(const std::string& base, const std::vector<std::string>& names,
                            const std::string& attribute);
    // The keyed children a loop over the ids 0..limit-1 below the parent query would find, one at
    // a time in ascending order: the next id after the one given, limit when there is none. Only
    // ids written as "%d" writes them can match a query. Without an index every id is a candidate.
    int NextKeyedId(const std::string& parent, int after, int limit) const;

private:
    IXMLDOMNode* SelectNode(const std::string& xpath) const;
    // Whether the query has the shape of the keyed index: base, then up to the indexed depth of
    // name[@attribute="value"] steps.
    bool IsIndexedQuery(const std::wstring& query) const;
    void IndexLevel(size_t depth);

    // COM stays initialised until the document has been released.
    bool m_comInitialised = false;
    IXMLDOMDocument2* m_document = nullptr;

    std::wstring m_indexBase;
    std::vector<std::wstring> m_indexNames;
    std::wstring m_indexAttribute;
    // "/name[@attribute=\"" for each level.
    std::vector<std::wstring> m_indexSteps;
    // Owns a reference to each node; released before the document.
    std::unordered_map<std::wstring, IXMLDOMNode*> m_index;
    // The ids present below each indexed parent query.
    std::unordered_map<std::wstring, std::set<int>> m_keyedIds;
};
