#include "ui/trackinfo/ArtworkPicture.h"

#include "companions/WmaEncodeCore/AnsiText.h"

#include <algorithm>
// GDI+'s headers expect the min and max that NOMINMAX keeps out of windows.h.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <objidl.h>
#include <gdiplus.h>

bool DrawPictureFile(HDC dc, const std::string& path, const RECT& place) {
    if (path.empty() || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const std::wstring name = AnsiToWide(path.c_str());
    // GDI+ keeps a picture's file open as long as the picture lives; this one lives for one
    // drawing only, since the artwork files are rewritten whenever another track is shown.
    Gdiplus::Bitmap picture(name.c_str());
    if (picture.GetLastStatus() != Gdiplus::Ok) {
        return false;
    }
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    return graphics.DrawImage(&picture, static_cast<INT>(place.left), static_cast<INT>(place.top),
                              static_cast<INT>(place.right - place.left),
                              static_cast<INT>(place.bottom - place.top)) == Gdiplus::Ok;
}

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) {
        m_token = 0;
    }
}

GdiplusSession::~GdiplusSession() {
    if (m_token != 0) {
        Gdiplus::GdiplusShutdown(m_token);
    }
}
