// One copy at a time. Every open of the keyboard's interface reads every
// report (Windows' HID class driver keeps an input buffer per handle), so a
// second copy would act on each key once more: mute on and off again, two
// programs for one launch key. A user who starts the program again, not
// seeing it behind its tray icon, wants its window instead.
#pragma once
#include <windows.h>

// Takes the named mutex that marks the running copy: true when this is the
// only copy, which then holds it until it ends. Otherwise the running copy's
// window is shown and brought to the front, as a double click on its tray
// icon shows it, and false: the caller ends at once, having opened nothing.
bool StartAsTheOnlyCopy();
