// Start guide: shown in the place of the music list while there is nothing to list.
#pragma once

// Template 175. A child of the manager window, whose texts are applied to all its descendants:
// these ids are used by no text of the manager's own.
#define IDD_START_GUIDE 175
#define IDC_STARTGUIDE_PICTURE 1130
#define IDC_STARTGUIDE_HEADING 1131
#define IDC_STARTGUIDE_STEP1 1132
#define IDC_STARTGUIDE_STEP2 1133
#define IDC_STARTGUIDE_STEP3 1134
#define IDC_STARTGUIDE_MORE 1135
