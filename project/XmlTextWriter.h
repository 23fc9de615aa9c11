// The project file's streaming writer: elements are written as they are opened, the document is
// kept as ANSI text and reaches its file as UTF-8 in one write.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class XmlTextWriter {
public:
    // Empties the buffer; refused (false) while an element is still open, so that a save never
    // starts inside a half-written document.
    bool Reset();
    // The buffer becomes the XML declaration line.
    void BeginDocument();
    // Converts the buffer to UTF-8, writes it to the file in one write and empties the buffer.
    bool Flush(HANDLE file);

private:
    friend class XmlElementWriter;

    std::string m_buffer;
    int m_openElements = 0;
};

// One open element, on the caller's stack. Its indentation is the number of elements open around
// it. A leaf without text ends with "/>"; a container keeps a separate end tag even when it has
// no children.
class XmlElementWriter {
public:
    XmlElementWriter(XmlTextWriter& writer, std::string_view name, bool container);
    ~XmlElementWriter();
    XmlElementWriter(const XmlElementWriter&) = delete;
    XmlElementWriter& operator=(const XmlElementWriter&) = delete;

    // Attributes and text are collected until CloseStartTag; they appear in the order added.
    void AddAttribute(std::string_view name, std::string_view value);
    void AddAttribute(std::string_view name, int value);
    void AddAttribute(std::string_view name, unsigned value);
    void AppendText(std::string_view text);
    void CloseStartTag();
    // Closes the start tag first when that has not been done.
    void End();

private:
    XmlTextWriter& m_writer;
    int m_level;
    bool m_container;
    std::string m_name;
    std::string m_attributes;
    std::string m_text;
    bool m_startClosed = false;
    bool m_ended = false;
};
