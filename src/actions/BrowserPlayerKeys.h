// The browser keys (back, forward, stop, refresh, favourites) and the player
// keys (next, previous, stop, play/pause): each aims a chord at its program.
#pragma once
#include <windows.h>

void BrowserKey(HWND dialog, DWORD keyCode);
void PlayerKey(DWORD keyCode);
