// Synchronise dialog: the progress of the rebuild of the catalogue from the music folder.
#pragma once

// Template 173; its Cancel button is IDCANCEL.
#define IDD_SYNC 173
#define IDC_SYNC_PROGRESS 1051
