// The standard keyboards' readers: one per consumer-control collection with
// Consumer buttons, up to kMaxStandardReaders, each with its own handle,
// report buffer and preparsed data. Together they post the union of the keys
// every collection holds, whenever it changes: the KeyCode of the usages
// that stand for its keys, and each other usage's press and release on its
// own (WM_KEYBOARD_OTHER_KEY).
#pragma once
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

const int kMaxStandardReaders = 8;

// The key bit that stands for a Consumer usage, 0 for every usage outside
// the KeyCode. The key table is not the keyboard's: whoever owns it hands it
// over when the readers start.
typedef DWORD (*UsageKeyLookup)(USAGE usage);

// Takes over a collection discovery opened (overlapped) and checked; it is
// read from the next StartStandardReaders. False when every place is taken:
// the caller keeps what it gave.
bool AdoptStandardCollection(HANDLE device, PHIDP_PREPARSED_DATA preparsedData, USHORT reportLength,
                             const char* path);
// Whether the collection at that device path has been taken over and its
// reader has not seen it go: a search never opens it a second time.
bool IsStandardCollectionTaken(const char* path);
// How many collections are taken over.
int StandardCollectionCount();
// Starts a reader for every collection taken over and not read yet, posting
// the KeyCode as message to the window, its bits looked up with keyOfUsage.
// False when one could not be started.
bool StartStandardReaders(HWND window, UINT message, UsageKeyLookup keyOfUsage);
// Lets go of the collections whose reader saw them unplugged, so that a
// search may take them again when they come back.
void ReleaseUnpluggedStandardCollections();
// Ends every reader and waits until each has, then closes every handle and
// frees every preparsed block.
void StopStandardReaders();
