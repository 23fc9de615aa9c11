// The layout of a sizeable dialog: each control's edges follow a share of the change in the
// dialog's client size. A share of 0 keeps an edge where it was against the left or top, 1 moves
// it with the right or bottom, 0.5 keeps it centred between them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

struct Anchor {
    int id;
    double left, top, right, bottom;
};

// The common cases.
inline constexpr Anchor AnchorFixed(int id) {
    return {id, 0, 0, 0, 0};
}
inline constexpr Anchor AnchorStretchWidth(int id) {
    return {id, 0, 0, 1, 0};
}
inline constexpr Anchor AnchorStretch(int id) {
    return {id, 0, 0, 1, 1};
}
inline constexpr Anchor AnchorRight(int id) {
    return {id, 1, 0, 1, 0};
}
inline constexpr Anchor AnchorBottom(int id) {
    return {id, 0, 1, 0, 1};
}
inline constexpr Anchor AnchorBottomRight(int id) {
    return {id, 1, 1, 1, 1};
}

class CAnchorLayout {
public:
    // Takes the controls' places in the dialog as they are now as the places for its present
    // client size. Controls the dialog does not have are left out.
    void Attach(HWND dialog, std::initializer_list<Anchor> anchors);
    // Moves every control for the dialog's present client size (WM_SIZE).
    void Apply() const;
    // The smallest window size: the size it had at Attach (WM_GETMINMAXINFO).
    SIZE MinimumSize() const { return m_minimum; }

private:
    struct Placed {
        HWND control;
        Anchor anchor;
        RECT start;
    };
    HWND m_dialog = nullptr;
    SIZE m_startClient{};
    SIZE m_minimum{};
    std::vector<Placed> m_placed;
};
