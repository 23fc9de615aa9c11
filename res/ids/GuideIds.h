// Quick guide: a picture of the steps in an image panel, with the steps' texts laid over it.
#pragma once

// Template 163. The picture is loaded by the window, so that a language file can replace it; the
// window places the texts in the picture's pixels (ArtIds.h says where).
#define IDD_QUICK_GUIDE 163
#define IDC_QUICKGUIDE_PANEL 1120
#define IDC_QUICKGUIDE_HEADING 1121
#define IDC_QUICKGUIDE_STEP1 1122
#define IDC_QUICKGUIDE_STEP2 1123
#define IDC_QUICKGUIDE_STEP3 1124
#define IDC_QUICKGUIDE_STEP4 1125
