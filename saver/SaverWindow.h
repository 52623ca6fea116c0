// The saver window: a borderless black popup over the whole primary screen
// whose input ends the run.
#pragma once

#include "kernel/Win32Types.h"

namespace vyn::saver {

// The saver window, one value for the whole process. Null until
// CreateSaverWindow stores the result of CreateWindowExA here (even a null
// one); never cleared. The bitmap load owns its error box with it.
extern HWND saverWindow;

// Registers the window class "vyn"; the class atom, or 0 on failure.
ATOM RegisterSaverClass(HINSTANCE instance);

// Creates, shows and paints the full-screen window and hides the cursor.
// 1 on success; 0 when the window cannot be created.
int CreateSaverWindow(HINSTANCE instance, int showCommand);

// Any key, a left or right click, or a non-client mouse move destroys the
// window; the destruction releases the rendering layer and posts the quit.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vyn::saver
