// String table ids. A language file replaces any of these under [STRING] with the decimal id as
// its key, so the numbers are part of every language file and never change.
#pragma once

// System menu, start-up and the manager's tooltips
#define IDS_ABOUTBOX 101
#define IDS_INSTANCE_BROKEN 102
#define IDS_ENABLE_BURNING 103
#define IDS_DISABLE_BURNING 104
#define IDS_TIP_OPTIONS 105
#define IDS_TIP_SHOW_MENU 106
#define IDS_APP_NAME 107
#define IDS_TIP_MINIMIZE 108
#define IDS_TIP_CLOSE 109
#define IDS_TIP_WEBSITE 110

// Tooltips of the quick guide, the status window and the toolbar
#define IDS_TIP_CLOSE_DIALOG 114
#define IDS_TIP_OPEN_MANAGER 115
#define IDS_TIP_CLOSE_STATUS 116
#define IDS_TIP_PLAY_SELECTED 117
#define IDS_TIP_OPEN_OUTPUT 118

// Questions, warnings and formats of the manager and the options dialog
#define IDS_CONFIRM_NO_STARTUP 120
#define IDS_TIME_RANGE_FORMAT 121
#define IDS_LABEL_EXISTS 122
#define IDS_CONFIRM_DELETE_DISC 123
#define IDS_CONFIRM_DELETE_FILE 124

// Music list column headings
#define IDS_COLUMN_NAME 125
#define IDS_COLUMN_TIME 126
#define IDS_COLUMN_ARTIST 127
#define IDS_COLUMN_LOCATION 128

// Recorder line, tips and tray tooltip
#define IDS_DEVICE_INSTALLED 129
#define IDS_TIP_SET_RECORDER 130
#define IDS_TIP_USE_CDTEXT 131
#define IDS_TIP_MAX_SPEED 132
#define IDS_SCANNING_DEVICE 133
#define IDS_TRAY_TIP_DEVICE 134
#define IDS_CONFIRM_EXIT 135
#define IDS_ENCODING 136
#define IDS_CONFIRM_CANCEL_SYNC 137
#define IDS_SELECT_FILE_TO_PLAY 138
#define IDS_COLUMN_ALBUM 139
#define IDS_COLUMN_GENRE 140

// Track panel, start guide and media player
#define IDS_DROP_SOURCE_HINT 141
#define IDS_NO_TRACK_SELECTED 142
#define IDS_READ_MORE_GUIDE 143
#define IDS_TIP_EDIT_TAGS 144
#define IDS_TIP_STOP_PLAYING 145
#define IDS_WMP10_REQUIRED 146
#define IDS_ASSOCIATE_PLAYER 147
#define IDS_OPEN_DEFAULT_PLAYER 148

// Play time and audio properties
#define IDS_PLAY_TIME_LONG 149
#define IDS_PLAY_TIME_SHORT 150
#define IDS_STEREO 151
#define IDS_MONO 152
#define IDS_KBPS_FORMAT 153
#define IDS_HZ_FORMAT 154

// Player bar tooltips and texts
#define IDS_TIP_PREVIOUS_TRACK 155
#define IDS_TIP_PLAY 156
#define IDS_TIP_PAUSE 157
#define IDS_TIP_STOP 158
#define IDS_TIP_NEXT_TRACK 159
#define IDS_NOW_PLAYING 160
#define IDS_WHERE 161
#define IDS_SCANNING_RECORDER 162

// Start-up failure of the main window
#define IDS_NO_MAIN_WINDOW 170
