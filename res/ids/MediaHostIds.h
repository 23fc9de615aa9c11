// Media host: the hidden window that holds the Windows Media Player control.
#pragma once

// Template 176: no controls; the player control is created over the whole client area.
#define IDD_MEDIA_HOST 176
