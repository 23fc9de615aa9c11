// Status window: the small progress window in the corner of the screen.
#pragma once

// Template 132. Only the caption, the image panel and the text progress bar are ever shown; the
// other controls stay hidden but keep their ids because the window still answers their commands.
#define IDD_STATUS 132
#define IDC_STATUS_CLOSE 1008
#define IDC_STATUS_IDLE 1009
#define IDC_STATUS_OVERALL_BAR 1010
#define IDC_STATUS_DETAIL_BAR 1011
#define IDC_STATUS_CAPTION 1012
#define IDC_STATUS_OPEN_MANAGER 1013
#define IDC_STATUS_PANEL 1032
#define IDC_STATUS_PROGRESS 1033
#define IDC_STATUS_CURRENT_COUNT 1093
#define IDC_STATUS_TOTAL_COUNT 1094
#define IDC_STATUS_OVERALL_LABEL 1095
#define IDC_STATUS_DETAIL_LABEL 1096
#define IDC_STATUS_TOTAL_LABEL 1097
#define IDC_STATUS_CURRENT_LABEL 1098
