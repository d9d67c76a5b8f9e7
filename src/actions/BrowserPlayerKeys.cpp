#include "actions/BrowserPlayerKeys.h"

// Placeholder until the browser and player keys land.
void BrowserKey(HWND, DWORD) {}
void PlayerKey(DWORD) {}
