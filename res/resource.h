// Resource, control and command identifiers, in blocks per dialog.
#pragma once

// Application
#define IDR_MAINFRAME 128

// String table
#define IDS_INSTANCE_BROKEN 102
#define IDS_CONFIRM_EXIT 135
#define IDS_NO_MAIN_WINDOW 170

// Manager window (dialog template 102) and its commands
#define IDD_MANAGER 102
#define ID_TRAY_EXIT 32777
#define ID_HELP_TOPIC 32778
#define ID_EXIT_QUAVERLANE 32787
