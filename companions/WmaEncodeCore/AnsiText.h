// The program's text is in the system's ANSI code page; FFmpeg takes file names in UTF-8 and TagLib
// keeps its text in UTF-16. These convert at those two borders and nowhere else.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring AnsiToWide(const char* text) {
    int length = text != nullptr ? MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) : 0;
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(length - 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

inline std::string WideToCodePage(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) {
        return {};
    }
    int length = WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<size_t>(length - 1), '\0');
    WideCharToMultiByte(codePage, 0, wide.c_str(), -1, text.data(), length, nullptr, nullptr);
    return text;
}

// A character the code page has no place for comes out as its default character, as everywhere
// else the program meets wide text.
inline std::string WideToAnsi(const std::wstring& wide) {
    return WideToCodePage(wide, CP_ACP);
}

// FFmpeg reads a name that is not valid UTF-8 as the ANSI name only for existing files; every
// name goes through UTF-8 so that new files get the right name too.
inline std::string AnsiToUtf8(const char* text) {
    return WideToCodePage(AnsiToWide(text), CP_UTF8);
}
