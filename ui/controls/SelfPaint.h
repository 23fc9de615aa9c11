// The messages by which a control that draws all of itself paints: no erase (the picture covers
// every pixel, erasing first would only flicker), WM_PAINT (a parent that prints the control
// hands a DC in wParam), and WM_PRINTCLIENT. The control draws on a canvas of its client size,
// composed off screen and copied in one step, so a change never flickers through.
#pragma once

#include "app/framework/GdiScoped.h"

#include <windows.h>

#include <optional>

// Calls paint(canvas, client) and copies the canvas to dc; nothing for an empty client area.
template <typename Paint> void PaintOffScreen(HWND window, HDC dc, Paint paint) {
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    ScopedMemoryDC canvas(CreateCompatibleDC(dc));
    ScopedBitmap surface(CreateCompatibleBitmap(dc, client.right, client.bottom));
    {
        ScopedSelect onSurface(canvas.Get(), surface.Get());
        paint(canvas.Get(), client);
        BitBlt(dc, 0, 0, client.right, client.bottom, canvas.Get(), 0, 0, SRCCOPY);
    }
}

// The message's result when it was one of those; nothing for any other message.
template <typename Paint>
std::optional<LRESULT> HandleSelfPaint(HWND window, UINT message, WPARAM wParam, Paint paint) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (wParam != 0) {
            PaintOffScreen(window, reinterpret_cast<HDC>(wParam), paint);
        } else {
            ScopedPaint painting(window);
            PaintOffScreen(window, painting.Get(), paint);
        }
        return 0;
    case WM_PRINTCLIENT:
        PaintOffScreen(window, reinterpret_cast<HDC>(wParam), paint);
        return 0;
    default:
        return std::nullopt;
    }
}
