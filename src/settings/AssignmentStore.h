// Where the owner's choices for the keys live, beside the settings:
//   HKEY_CURRENT_USER\Software\Zerith\Multimedia Keyboard\Keys
//     the set for all programs;
//   HKEY_CURRENT_USER\Software\Zerith\Multimedia Keyboard\Programs\<FILE.EXE>
//     one set per program, named by its executable's file name (registry
//     names ignore case, and so does the match).
// A set holds a REG_SZ value per key, named by its key (the caller's name
// for it: "Mail", "0x022D"), in the format of AssignmentFormat.h. Users
// edit these with regedit and share them as .reg files: the layout is a
// contract.
#pragma once
#include <windows.h>
#include "settings/AssignmentFormat.h"

// A program's file name: at most MAX_PATH bytes.
const int kProgramNameSize = MAX_PATH;

// A key's value name: the key table's own name ("Mail"), or for any other
// key its Consumer usage, "0x" and four hexadecimal digits ("0x022D"), so
// that any key a keyboard has can be given a value without a list of them.
const int kKeyNameSize = 16;
void OtherKeyValueName(WORD usage, char name[kKeyNameSize]);
// The usage such a name stands for, in either case of its letters; 0 for
// any other text.
WORD UsageOfOtherKeyName(const char* name);

// What one set says for one key.
enum class StoredAssignment {
    kAbsent,         // no set, or no value for the key
    kUnderstood,
    kNotUnderstood,  // not REG_SZ, too long, or not in the format
};

// program: a file name, or NULL for the set for all programs. The value is
// parsed into assignment, and its text, when it is REG_SZ and fits, copied
// to text (kAssignmentTextSize bytes; NULL: not wanted), else emptied.
StoredAssignment ReadAssignment(const char* program, const char* name, Assignment* assignment, char* text);

// The assignment in effect for the program in front (NULL: none known): its
// own set's value when there is one, else the all-programs set's, else
// standard. A value that is not understood is standard.
void AssignmentInEffect(const char* program, const char* name, Assignment* assignment);
// Whether any program has a set of its own: without one, nobody need find
// out which program is in front.
bool AnyProgramSet();

// Writing, for the Keys dialog. False when the registry refused.
bool WriteAssignmentText(const char* program, const char* name, const char* text);
bool DeleteAssignment(const char* program, const char* name);
bool CreateProgramSet(const char* program);
bool DeleteProgramSet(const char* program);
// The name of the index-th program that has a set (name holds
// kProgramNameSize bytes); false past the last.
bool ProgramSetAt(DWORD index, char* name);
// The name of the index-th value of a set (name holds size bytes), "" when
// it does not fit; false past the last, and for a set that does not exist.
bool AssignmentNameAt(const char* program, DWORD index, char* name, DWORD size);
