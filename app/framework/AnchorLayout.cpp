#include "app/framework/AnchorLayout.h"

#include <cmath>

void CAnchorLayout::Attach(HWND dialog, std::initializer_list<Anchor> anchors) {
    m_dialog = dialog;
    m_placed.clear();
    RECT client;
    GetClientRect(dialog, &client);
    m_startClient = {client.right, client.bottom};
    RECT window;
    GetWindowRect(dialog, &window);
    m_minimum = {window.right - window.left, window.bottom - window.top};
    for (const Anchor& anchor : anchors) {
        HWND control = GetDlgItem(dialog, anchor.id);
        if (control == nullptr) {
            continue;
        }
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        m_placed.push_back({control, anchor, place});
    }
}

void CAnchorLayout::Apply() const {
    if (m_dialog == nullptr || m_placed.empty()) {
        return;
    }
    RECT client;
    GetClientRect(m_dialog, &client);
    double dx = client.right - m_startClient.cx;
    double dy = client.bottom - m_startClient.cy;
    auto moved = [](LONG edge, double share, double delta) {
        return edge + static_cast<LONG>(std::lround(share * delta));
    };
    // One deferred move for all controls: they repaint once, in their final places.
    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_placed.size()));
    for (const Placed& placed : m_placed) {
        const Anchor& a = placed.anchor;
        LONG left = moved(placed.start.left, a.left, dx);
        LONG top = moved(placed.start.top, a.top, dy);
        LONG right = moved(placed.start.right, a.right, dx);
        LONG bottom = moved(placed.start.bottom, a.bottom, dy);
        if (moves != nullptr) {
            moves = DeferWindowPos(moves, placed.control, nullptr, left, top, right - left, bottom - top,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (moves != nullptr) {
        EndDeferWindowPos(moves);
    }
}
