// The toolkit's own notifications. They carry registered names rather than fixed numbers, so that
// they never collide with a window's private WM_USER or WM_APP messages, whatever window a control
// is put in.
#pragma once

#include <windows.h>

// "WM_LISTCTRL_COMBO_SELECTION": a skinned combo list → its parent, posted when the user has
// settled on an item (picked from the dropped list, or stepped to with the keys while it is
// closed). wParam: the combo's control id; lParam: the index chosen.
UINT ListCtrlComboSelectionMessage();

// "WM_LAYOUTMGR": a layout manager → the dialog it lays out, sent after every move of the
// controls. wParam: the new client width; lParam: the new client height. The dialog places here
// whatever its anchors cannot express.
UINT LayoutManagerMessage();
