// The system's XML DOM component (MSXML 3, which every supported Windows and Wine provide) as a
// source of nodes for the project reader.
#pragma once

#include "app/framework/ScopedCom.h"
#include "project/XmlNodeSource.h"

#include <msxml2.h>

#include <string>
#include <vector>

class SystemDomSource final : public XmlNodeSource {
public:
    SystemDomSource() = default;
    ~SystemDomSource() override;
    SystemDomSource(const SystemDomSource&) = delete;
    SystemDomSource& operator=(const SystemDomSource&) = delete;

    // False when COM or the DOM component is unavailable or refuses the load; a malformed file
    // loads as an empty document.
    bool Load(const std::string& path);
    // Whether the loaded file was a well-formed document.
    bool Parsed() const { return m_parsed; }

    std::wstring RootName() override;
    int SelectFirst(const std::string& query) override;
    std::vector<int> SelectAll(const std::string& path) override;
    int Parent(int node) override;
    bool Attribute(int node, const std::wstring& name, std::wstring& value) override;
    bool Text(int node, std::wstring& text) override;

private:
    struct Node {
        ScopedInterface<IXMLDOMNode> node;
        ScopedInterface<IXMLDOMElement> element;
    };

    // Takes over the reference and numbers the node.
    int Keep(IXMLDOMNode* node);

    // COM stays initialised until the document has been released.
    bool m_comInitialised = false;
    ScopedInterface<IXMLDOMDocument2> m_document;
    std::vector<Node> m_nodes;
    bool m_parsed = false;
};
