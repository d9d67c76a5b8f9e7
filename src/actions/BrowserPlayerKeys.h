// The browser keys (back, forward, stop, refresh, favourites) and the player
// keys (next, previous, stop, play/pause): each aims a chord at its program.
// A program that is not running is never started: its key does nothing.
#pragma once
#include <windows.h>

void BrowserKey(HWND dialog, DWORD keyCode);
void PlayerKey(DWORD keyCode);
