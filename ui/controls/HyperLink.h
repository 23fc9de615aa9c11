// A static text that opens its target (a web page, a file, a folder) with the shell when it is
// clicked: underlined in the skin's link colour, the accent while the mouse is on it, with the hand
// cursor.
#pragma once

#include "app/framework/Control.h"

#include <functional>
#include <string>

class CHyperLink : public CControl {
public:
    using Opener = std::function<void(const std::string& target)>;

    // The target; until one is set, the control's own text.
    void SetTarget(const std::string& target) { m_strTarget = target; }
    const std::string& Target() const { return m_strTarget; }
    // How a target is opened; the shell's "open" unless a test says otherwise.
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    // Opens the target as a click would.
    void Open() const;

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC out, const RECT& client);
    void SetHot(bool hot);

    std::string m_strTarget;
    Opener m_opener;
    bool m_bHot = false;
    bool m_bPressed = false;
};
