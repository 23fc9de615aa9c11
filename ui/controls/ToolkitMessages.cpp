#include "ui/controls/ToolkitMessages.h"

UINT ListCtrlComboSelectionMessage() {
    static const UINT message = RegisterWindowMessageA("WM_LISTCTRL_COMBO_SELECTION");
    return message;
}

UINT LayoutManagerMessage() {
    static const UINT message = RegisterWindowMessageA("WM_LAYOUTMGR");
    return message;
}
