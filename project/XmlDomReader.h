// Reads the project file through the system's XML DOM component, one XPath query per value.
// Values come back in the system code page.
#pragma once

#include <string>

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

private:
    IXMLDOMNode* SelectNode(const std::string& xpath) const;

    // COM stays initialised until the document has been released.
    bool m_comInitialised = false;
    IXMLDOMDocument2* m_document = nullptr;
};
