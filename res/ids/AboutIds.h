// About dialog.
#pragma once

// Template 100.
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_ICON 1140
#define IDC_ABOUT_NAME 1141
#define IDC_ABOUT_DESCRIPTION 1142
#define IDC_ABOUT_COPYRIGHT 1143
