// The font of a guide's heading: the dialog's own font, bold and a third larger. Taken from the
// dialog rather than the skin so that it keeps the face the system picks for the language's
// script.
#pragma once

#include <windows.h>

// The caller owns the font; null when the dialog's font cannot be read.
HFONT CreateHeadingFont(HWND dialog);
