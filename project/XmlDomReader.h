// Reads the project file with one XPath query per value, as the system's XML DOM would answer
// them. Values come back in the system code page.
#pragma once

#include "project/XmlNodeSource.h"

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class XmlDomReader {
public:
    // Who parses the file: the program's own parser, which takes the documents the program
    // writes and leaves anything else to the system's DOM component, or that component alone.
    // Neither ever sees a document type.
    enum class Parser { OwnFirst, SystemDom };

    // False only when the DOM component is needed and unavailable or refuses the load; a missing
    // or malformed file, or one with a document type, loads as an empty document in which every
    // query finds nothing.
    bool Load(const std::string& path, Parser parser = Parser::OwnFirst);
    // Whether the file holds something that is not a well-formed document, or declares a document
    // type (an empty file does not count): what it held reads as nothing.
    bool Unreadable() const { return m_unreadable; }
    // The name of the root element, empty when nothing was read.
    std::string RootName() const;
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
    // The loader asks for several values of one element in a row: the last selection is kept.
    struct Selection {
        bool made = false;
        std::string query;
        int node = -1;
    };

    int Select(const std::string& xpath) const;
    // Whether the query has the shape of the keyed index: base, then up to the indexed depth of
    // name[@attribute="value"] steps.
    bool IsIndexedQuery(const std::wstring& query) const;
    void IndexLevel(size_t depth);

    std::unique_ptr<XmlNodeSource> m_source;
    std::wstring m_indexBase;
    std::vector<std::string> m_indexNames;
    std::wstring m_indexAttribute;
    // "/name[@attribute=\"" for each level.
    std::vector<std::wstring> m_indexSteps;
    std::unordered_map<std::wstring, int> m_index;
    // The ids present below each indexed parent query.
    std::unordered_map<std::wstring, std::set<int>> m_keyedIds;
    mutable Selection m_last;
    bool m_unreadable = false;
};
