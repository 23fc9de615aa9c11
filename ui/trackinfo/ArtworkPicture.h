// Pictures from files (the artwork JPEGs and the panel's background) drawn stretched into a
// rectangle through GDI+, which the application object starts.
#pragma once

#include <windows.h>

#include <string>

// False, with nothing drawn, when the file is missing or no picture GDI+ can read.
bool DrawPictureFile(HDC dc, const std::string& path, const RECT& place);

// GDI+ for the life of the object, for a process that has no application object to start it
// (the tools that picture the windows, the tests).
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};
