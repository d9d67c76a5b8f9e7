// A scriptable sound card behind the mixer device module, for unit tests:
// which controls its speakers line has, their values and maxima, which calls
// fail, and a count of every call and of the handles left open. It checks the
// record sizes and flags the way a driver does and refuses anything else.
#pragma once
#include <windows.h>
#include <mmsystem.h>

namespace mmk_fake {

struct FakeMixerControl {
    bool present;
    DWORD controlId;
    DWORD maximum;   // faders only
    DWORD value;
    MMRESULT getResult;  // what reading the value answers (0 = it works)
    MMRESULT setResult;
    int gets, sets;
};

struct FakeMixer {
    UINT deviceCount;
    MMRESULT openResult, capsResult, closeResult;
    bool speakersLine;  // false: the line lookup fails

    FakeMixerControl volume, mute, bass, treble, loudness;

    // What the program asked for.
    int calls;        // every call into the module
    int opens, closes, openHandles;
    DWORD_PTR lastCallback;
    DWORD lastOpenFlags;
    DWORD lastDetailsValue;   // the value of the last set
};

// The fake's state. Reset gives one device whose speakers line has no
// controls; tests add the controls they need.
FakeMixer& TheFakeMixer();
void ResetFakeMixer();

// A present control with the given identifier, maximum and value.
void AddFakeControl(FakeMixerControl* control, DWORD controlId, DWORD maximum, DWORD value);
// All five controls (identifiers 1 to 5 in the order volume, mute, bass,
// treble, loudness), the faders at the given maximum and value, toggles off.
void AddAllFakeControls(DWORD faderMaximum, DWORD faderValue);

}  // namespace mmk_fake
