#include "ui/manager/HeadingFont.h"

HFONT CreateHeadingFont(HWND dialog) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (font == nullptr || GetObjectA(font, sizeof face, &face) == 0) {
        return nullptr;
    }
    face.lfWeight = FW_BOLD;
    face.lfHeight = MulDiv(face.lfHeight, 4, 3);
    return CreateFontIndirectA(&face);
}
