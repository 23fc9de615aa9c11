#include "app/Localisation.h"

#include "app/Messages.h"
#include "app/Settings.h"
#include "app/framework/AppFolders.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The system reader's value buffer; longer values are cut.
constexpr DWORD kValueSize = 10240;

std::string IdKey(UINT id) {
    return std::to_string(id);
}

// Backslash-n becomes a line feed everywhere; backslash-t a tab only where asked.
std::string Unescaped(const std::string& raw, bool tabs) {
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == 'n' || (tabs && raw[i + 1] == 't'))) {
            text += raw[i + 1] == 'n' ? '\n' : '\t';
            ++i;
        } else {
            text += raw[i];
        }
    }
    return text;
}

HINSTANCE ProgramModule() {
    return GetModuleHandleA(nullptr);
}

struct DialogTexts {
    const CLanguageFile* file;
    std::string section;
};

BOOL CALLBACK LocaliseChild(HWND child, LPARAM data) {
    const auto& texts = *reinterpret_cast<const DialogTexts*>(data);
    std::string text = texts.file->RawValue(texts.section, std::to_string(GetDlgCtrlID(child)));
    if (!text.empty()) {
        SetWindowTextA(child, Unescaped(text, false).c_str());
    }
    return TRUE;
}

void SetItemText(HMENU menu, UINT position, const std::string& text) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<char*>(text.c_str());
    SetMenuItemInfoA(menu, position, TRUE, &item);
}

BOOL CALLBACK SendLanguageChanged(HWND child, LPARAM) {
    SendMessageA(child, WM_LANGUAGE_CHANGED, 0, 0);
    return TRUE;
}

} // namespace

std::string CLanguageFile::RawValue(const std::string& section, const std::string& key) const {
    if (m_path.empty()) {
        return {};
    }
    std::vector<char> value(kValueSize, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value.data(), kValueSize, m_path.c_str());
    return value.data();
}

std::string CLanguageFile::Value(const std::string& section, const std::string& key) const {
    return Unescaped(RawValue(section, key), true);
}

std::string CLanguageFile::String(UINT id) const {
    std::string text = Value("STRING", IdKey(id));
    if (text.empty()) {
        std::vector<char> own(4096, '\0');
        LoadStringA(ProgramModule(), id, own.data(), static_cast<int>(own.size()));
        text = own.data();
    }
    return text;
}

void CLanguageFile::LocaliseDialog(HWND window, int templateId) const {
    DialogTexts texts{this, "DIALOG_IDD_" + std::to_string(templateId)};
    std::string title = Value(texts.section, "title");
    if (!title.empty()) {
        SetWindowTextA(window, title.c_str());
    }
    EnumChildWindows(window, LocaliseChild, reinterpret_cast<LPARAM>(&texts));
}

void CLanguageFile::LocaliseMenu(HMENU menu, bool menuBar) const {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        HMENU popup = GetSubMenu(menu, position);
        if (popup != nullptr) {
            if (menuBar) {
                std::string text = Value("MENU", "item_" + std::to_string(position + 1));
                if (!text.empty()) {
                    SetItemText(menu, static_cast<UINT>(position), text);
                }
            }
            LocaliseMenu(popup, false);
            continue;
        }
        UINT id = GetMenuItemID(menu, position);
        if (id == 0 || id == static_cast<UINT>(-1)) {
            continue;
        }
        std::string text = Value("MENU", IdKey(id));
        if (!text.empty()) {
            SetItemText(menu, static_cast<UINT>(position), text);
        }
    }
}

HBITMAP CLanguageFile::Bitmap(UINT resourceId) const {
    std::string file = RawValue("BITMAP", IdKey(resourceId));
    if (!file.empty()) {
        std::string path = ProgramFolder() + "\\" + file;
        if (HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION)) {
            return static_cast<HBITMAP>(image);
        }
    }
    return static_cast<HBITMAP>(
        LoadImageA(ProgramModule(), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

std::string CLanguageFile::Translate(const std::string& text) const {
    std::string translated = RawValue("DICTIONARY", text);
    return translated.empty() ? text : translated;
}

CLanguageFile CurrentLanguage() {
    const std::string& file = GetSettings().languageFile;
    return CLanguageFile(file.empty() ? std::string() : ProgramFolder() + "\\Lang\\" + file);
}

std::string ReadLangValue(const std::string& section, const std::string& key) {
    return CurrentLanguage().Value(section, key);
}

std::string LoadLangString(UINT id) {
    return CurrentLanguage().String(id);
}

std::string FormatLangString(UINT formatId, const std::string& value) {
    const std::string format = LoadLangString(formatId);
    std::string text(format.size() + value.size() + 64, '\0');
    const int length = snprintf(text.data(), text.size(), format.c_str(), value.c_str());
    text.resize(length > 0 ? std::min(static_cast<size_t>(length), text.size() - 1) : 0);
    return text;
}

void LocaliseDialog(HWND window, int templateId) {
    CurrentLanguage().LocaliseDialog(window, templateId);
}

void LocaliseMenu(HMENU menu, bool menuBar) {
    CurrentLanguage().LocaliseMenu(menu, menuBar);
}

HBITMAP LoadLangBitmap(UINT resourceId) {
    return CurrentLanguage().Bitmap(resourceId);
}

std::string Translate(const std::string& text) {
    return CurrentLanguage().Translate(text);
}

void BroadcastLanguageChanged(HWND window) {
    EnumChildWindows(window, SendLanguageChanged, 0);
}
