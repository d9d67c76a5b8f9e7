// Window targeting: which player owns the foreground window, which process
// runs a module, and the finding, restoring and activating of its window.
#pragma once
#include <windows.h>

// Forgets the window found by an earlier key.
void ClearTargetWindow();
