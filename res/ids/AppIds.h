// The application's own resource number; its icon is drawn under the same number.
#pragma once

#define IDR_MAINFRAME 128
