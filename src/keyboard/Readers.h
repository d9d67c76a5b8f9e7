// Every reader of what the last search found, whichever kind of keyboard:
// the one place the connection starts and ends them.
#pragma once
#include <windows.h>
#include "keyboard/StandardReaders.h"

// Starts the readers of what the last search found: the maker's model's
// reader anew (an idle one when nothing was found), or a reader for each
// standard collection not read yet. They post message to the window; a
// standard collection's usages become key bits through keyOfUsage.
void StartReaders(HWND window, UINT message, UsageKeyLookup keyOfUsage);
// Ends every reader and waits until each has; only then closes the handles
// they read and frees the preparsed data they decoded with.
void StopReaders();
