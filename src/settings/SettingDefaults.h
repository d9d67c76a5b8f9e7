// What a setting shows when the store has no usable value for it.
#pragma once

// The search address the web-search key uses until the user sets another.
extern const char kDefaultSearchAddress[];

// A program whose default command line is its install directory, read from
// HKEY_LOCAL_MACHINE, followed by its file name.
struct ProgramDefault {
    const char* installKey;    // under HKEY_LOCAL_MACHINE
    const char* installValue;  // the install directory
    const char* fileName;      // appended after a backslash
};

extern const ProgramDefault kMailDefault;
extern const ProgramDefault kMediaDefault;

// Writes the program's default command line into text (size bytes): the
// install directory, a backslash and the file name, cut at the buffer's end
// if it does not fit. Without a readable install directory, the bare file
// name, which WinExec still finds when the program is on the search path.
void ComposeProgramDefault(const ProgramDefault& program, char* text, int size);
