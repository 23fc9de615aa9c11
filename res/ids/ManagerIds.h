// Manager window: the main window with the disc list, the music list and the program menu.
#pragma once

// Template 102. The three image panels are laid out again by the window on every resize; their
// places here only keep the template readable.
#define IDD_MANAGER 102
#define IDC_MANAGER_LABEL_EDIT 1
#define IDC_MANAGER_MUSIC_LIST 1000
#define IDC_MANAGER_DISC_LIST 1014
#define IDC_MANAGER_TIPS 1026
#define IDC_MANAGER_TOOLBAR 1101
#define IDC_MANAGER_CAPTION_BUTTONS 1102
#define IDC_MANAGER_LINK 1103

// Menu 131: its pop-ups, by position, are the unused file menu, the program menu, the music
// list's menu and the disc list's menu.
#define IDR_MANAGER_MENU 131
#define MANAGER_SUBMENU_FILE 0
#define MANAGER_SUBMENU_PROGRAM 1
#define MANAGER_SUBMENU_MUSIC_LIST 2
#define MANAGER_SUBMENU_DISC_LIST 3

// System menu: its own commands must be multiples of 16 below 0xF000.
#define IDM_ABOUTBOX 0x0010

// Commands of the manager's menus; the tray menu sends some of the same commands.
#define ID_APP_ABOUT 32771
#define ID_SHOW_STATUS 32776
#define ID_HELP_TOPIC 32778
#define ID_SOFTWARE_WEBSITE 32779
#define ID_QUICK_GUIDE 32782
#define ID_PLAY_SELECTED 32783
#define ID_OPEN_LOCATION 32784
#define ID_EDIT_TAGS 32785
#define ID_EXIT_QUAVERLANE 32787
#define ID_REFRESH_MUSIC 32788
#define ID_REFRESH_MUSIC_LIST 32789
#define ID_REFRESH_DISC_LIST 32790
#define ID_DISC_RENAME 32791
#define ID_DISC_DELETE 32792
#define ID_MUSIC_DELETE 32793
#define ID_SYNC_MUSIC_FOLDER 32794
#define ID_LANGUAGE_AUTO 32799

// Language menu: one command per language file found at start, appended after "Auto".
#define ID_LANGUAGE_FIRST 9900
#define ID_LANGUAGE_LAST 9999
