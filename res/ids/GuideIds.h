// Quick guide: a picture of the steps in an image panel.
#pragma once

// Template 163. The picture is loaded by the window, so that a language file can replace it.
#define IDD_QUICK_GUIDE 163
#define IDC_QUICKGUIDE_PANEL 1120
