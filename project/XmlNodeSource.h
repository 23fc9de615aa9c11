// A parsed document as the project reader asks it: elements found by XPath location paths, their
// attributes, text and parents. Each source numbers the nodes it hands out; -1 is no node.
#pragma once

#include <string>
#include <vector>

class XmlNodeSource {
public:
    virtual ~XmlNodeSource() = default;

    // The name of the document's root element; empty when there is none.
    virtual std::wstring RootName() = 0;

    // The first element the query selects, in document order.
    virtual int SelectFirst(const std::string& query) = 0;
    // Every element the path selects, in document order.
    virtual std::vector<int> SelectAll(const std::string& path) = 0;
    virtual int Parent(int node) = 0;
    // False when the node is not an element or does not carry the attribute.
    virtual bool Attribute(int node, const std::wstring& name, std::wstring& value) = 0;
    // The node's text content as the DOM's text property gives it.
    virtual bool Text(int node, std::wstring& text) = 0;
};
