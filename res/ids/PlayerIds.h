// Player bar: what plays, the elapsed time and the five playback buttons.
#pragma once

// Template 172. The Stop button stays hidden; the buttons the user sees are the image panel's.
#define IDD_PLAYER 172
#define IDC_PLAYER_STOP 1001
#define IDC_PLAYER_TIME 1050
#define IDC_PLAYER_BUTTONS 1052
