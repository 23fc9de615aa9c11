#include "project/XmlTextWriter.h"

#include "app/framework/ScopedCom.h"

namespace {

// A parser replaces every tab and line break inside an attribute value by a blank; written as
// character references they survive, so a title's line breaks come back as they were.
enum class Context { Attribute, Text };

void AppendEscaped(std::string& out, std::string_view text, Context context) {
    for (char c : text) {
        switch (c) {
        case '\t':
        case '\n':
        case '\r':
            if (context == Context::Attribute) {
                out += c == '\t' ? "&#9;" : c == '\n' ? "&#10;" : "&#13;";
            } else {
                out += c;
            }
            break;
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
}

void AppendIndentation(std::string& out, int level) {
    out.append(static_cast<size_t>(level) * 4, ' ');
}

// The program's text is in the system code page; the file is UTF-8.
std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) {
        return {};
    }
    std::wstring wide = AnsiToWide(ansi);
    int wideLength = static_cast<int>(wide.size());
    int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr, nullptr);
    return utf8;
}

} // namespace

bool XmlTextWriter::Reset() {
    if (m_openElements != 0) {
        return false;
    }
    m_buffer.clear();
    return true;
}

void XmlTextWriter::BeginDocument() {
    m_buffer = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
}

bool XmlTextWriter::Flush(HANDLE file) {
    std::string utf8 = AnsiToUtf8(m_buffer);
    m_buffer.clear();
    DWORD written = 0;
    return WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
           written == utf8.size();
}

XmlElementWriter::XmlElementWriter(XmlTextWriter& writer, std::string_view name, bool container)
    : m_writer(writer), m_level(writer.m_openElements++), m_container(container), m_name(name) {
    AppendIndentation(m_writer.m_buffer, m_level);
    m_writer.m_buffer += '<';
    m_writer.m_buffer += m_name;
}

XmlElementWriter::~XmlElementWriter() {
    End();
}

void XmlElementWriter::AddAttribute(std::string_view name, std::string_view value) {
    m_attributes += ' ';
    m_attributes += name;
    m_attributes += "=\"";
    AppendEscaped(m_attributes, value, Context::Attribute);
    m_attributes += '"';
}

void XmlElementWriter::AddAttribute(std::string_view name, int value) {
    AddAttribute(name, std::to_string(value));
}

void XmlElementWriter::AddAttribute(std::string_view name, unsigned value) {
    AddAttribute(name, std::to_string(value));
}

void XmlElementWriter::AppendText(std::string_view text) {
    m_text += text;
}

void XmlElementWriter::CloseStartTag() {
    if (m_startClosed) {
        return;
    }
    std::string& out = m_writer.m_buffer;
    out += m_attributes;
    m_attributes.clear();
    if (!m_text.empty()) {
        out += '>';
        AppendEscaped(out, m_text, Context::Text);
    } else if (m_container) {
        out += ">\n";
    } else {
        out += "/>\n";
    }
    m_startClosed = true;
}

void XmlElementWriter::End() {
    if (m_ended) {
        return;
    }
    CloseStartTag();
    std::string& out = m_writer.m_buffer;
    if (!m_text.empty()) {
        out += "</" + m_name + ">\n";
    } else if (m_container) {
        AppendIndentation(out, m_level);
        out += "</" + m_name + ">\n";
    }
    --m_writer.m_openElements;
    m_ended = true;
}
