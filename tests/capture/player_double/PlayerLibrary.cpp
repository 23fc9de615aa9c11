#include "tests/capture/player_double/PlayerLibrary.h"

#include "app/framework/Scoped.h"

#include <windows.h>

#include <array>
#include <cwchar>

namespace {

constexpr std::array<const wchar_t*, 4> kLevels = {L"source", L"playlist", L"track", L"artwork"};

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::wstring::npos; end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool ReadUtf8File(const std::string& path, std::wstring& text) {
    ScopedFileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        return false;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        return false;
    }
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    text.assign(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return true;
}

} // namespace

std::wstring LibraryNode::Text(const std::wstring& name) const {
    auto found = values.find(name);
    return found != values.end() ? found->second : std::wstring();
}

long LibraryNode::Number(const std::wstring& name) const {
    return std::wcstol(Text(name).c_str(), nullptr, 10);
}

bool ReadPlayerLibrary(const std::string& path, LibraryNode& root) {
    std::wstring text;
    if (!ReadUtf8File(path, text)) {
        return false;
    }
    for (std::wstring line : Split(text, L'\n')) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        std::vector<std::wstring> fields = Split(line, L'\t');
        size_t level = 0;
        while (level < kLevels.size() && fields[0] != kLevels[level]) {
            ++level;
        }
        if (level == kLevels.size()) {
            return false;
        }
        LibraryNode* parent = &root;
        for (size_t depth = 0; depth < level; ++depth) {
            if (parent->children.empty()) {
                return false;
            }
            parent = &parent->children.back();
        }
        LibraryNode& node = parent->children.emplace_back();
        for (size_t i = 1; i < fields.size(); ++i) {
            size_t equals = fields[i].find(L'=');
            if (equals != std::wstring::npos) {
                node.values[fields[i].substr(0, equals)] = fields[i].substr(equals + 1);
            }
        }
    }
    return true;
}
