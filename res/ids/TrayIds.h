// Tray icon: its context menu. Quick guide, web site and about are the manager's own commands
// (ManagerIds.h), so the tray and the program menu stay one handler each.
#pragma once

#include "ManagerIds.h"

// Menu 139; its first pop-up is the one shown. The icon in the notification area uses the same
// number as its icon id.
#define IDR_TRAY_MENU 139
#define ID_TRAY_SHOW_MANAGER 32775
#define ID_TRAY_EXIT 32777
