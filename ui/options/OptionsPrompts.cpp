#include "ui/options/OptionsPrompts.h"

#include "app/framework/ScopedCom.h"

#include <shlobj.h>
#include <shellapi.h>

namespace {

// Opens the browser at the starting folder once it exists.
int CALLBACK OnBrowserEvent(HWND browser, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, start);
    }
    return 0;
}

class CSystemPrompts final : public IOptionsPrompts {
public:
    int Ask(HWND owner, const std::string& text, const std::string& caption, UINT flags) override {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    }

    std::optional<std::string> BrowseForFolder(HWND owner, const std::string& start) override {
        BROWSEINFOA info{};
        info.hwndOwner = owner;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = OnBrowserEvent;
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
        ScopedTaskMemory<ITEMIDLIST> chosen(SHBrowseForFolderA(&info));
        char path[MAX_PATH] = "";
        if (!chosen || !SHGetPathFromIDListA(chosen.Get(), path)) {
            return std::nullopt;
        }
        return std::string(path);
    }

    void OpenWebPage(HWND owner, const std::string& address) override {
        ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
};

} // namespace

IOptionsPrompts& SystemPrompts() {
    static CSystemPrompts prompts;
    return prompts;
}
