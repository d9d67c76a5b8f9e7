// What a key does when its owner has chosen: the text of one registry value,
// an action word, one blank and the action's argument.
//
//   standard                     what the key does when nothing is chosen
//   nothing                      the key does nothing
//   start <command line>         a program, a document or a web address
//   keys <chord>[, <chord>...]   chords sent to the window in front
//   command <window class>, <n>  WM_COMMAND n posted to that class's window
//
// The word's case does not matter; neither does the case of a chord's names.
#pragma once
#include <windows.h>
#include "settings/AssignmentKinds.h"

// A value holds at most 259 characters; a longer one is not understood.
const int kAssignmentTextSize = 260;
// A keys action sends at most this many chords.
const int kMaxAssignedChords = 8;

// Modifier bits of a chord.
const BYTE kChordCtrl = 1;
const BYTE kChordAlt = 2;
const BYTE kChordShift = 4;

struct AssignedChord {
    BYTE modifiers;  // kChordCtrl | kChordAlt | kChordShift
    BYTE virtualKey;
};

struct Assignment {
    AssignmentKind kind;
    // Everything after the word and its blank: the command line of start,
    // the chords of keys, the class and number of command.
    char argument[kAssignmentTextSize];
    char windowClass[kAssignmentTextSize];  // command's window class
    WPARAM command;                         // command's number
    AssignedChord chords[kMaxAssignedChords];
    int chordCount;
};

// Why a text is not understood; the parser is where the bad part is known.
enum class AssignmentFault {
    kNone,
    kTooLong,         // kAssignmentTextSize characters or more
    kUnknownWord,     // part: the word
    kNoArgument,      // a word that takes an argument without one
    kExtraArgument,   // part: what follows a word that takes none
    kNotAKey,         // part: a chord's name that is no key where it stands ("Banana", "Hyper" in Hyper+X)
    kNoKey,           // part: the chord that lacks a key ("Ctrl+"), or the whole argument for an empty chord
    kTooManyChords,   // more than kMaxAssignedChords
    kNoClass,         // a command without its window class
    kNoNumber,        // a command without its number
    kBadNumber,       // part: a command's number that is not one from 1 to 65535
};

struct AssignmentProblem {
    AssignmentFault fault;
    char part[kAssignmentTextSize];  // the words at fault as written, blanks around them trimmed
};

// A hexadecimal digit's value in either case, -1 for any other character:
// a chord's 0xNN, an other key's value name.
int HexDigit(char c);
// Reads the text of one value; false, with kStandard, when it is not
// understood, and then, given a problem, what is wrong with it.
bool ParseAssignment(const char* text, Assignment* assignment, AssignmentProblem* problem = 0);
// The keys a chord names by a word ("Enter, Esc, Tab, ..."), joined with
// separator; false when they do not fit.
bool ChordKeyWords(char* text, int size, const char* separator);
