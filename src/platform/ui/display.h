// Whether the window system can be reached, asked before Qt is started:
// Qt ends the process when it cannot open its display.
#pragma once

// FALSE when the X display (DISPLAY) cannot be opened, or no X display is
// set; TRUE when a platform other than X is chosen through QT_QPA_PLATFORM.
bool CanOpenDisplay();
