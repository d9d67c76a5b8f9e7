#include "settings/AssignmentStore.h"
#include "fw/BoundedText.h"
#include "settings/SettingsStore.h"

namespace {

const char kAllProgramsSet[] = "\\Keys";
const char kProgramSets[] = "\\Programs";

// The set's key path below HKEY_CURRENT_USER; false when it does not fit.
bool SetPath(const char* program, char* path)
{
    if (!program) return JoinText(path, kAssignmentTextSize + kProgramNameSize, kSettingsWriteKey, kAllProgramsSet);
    char programs[MAX_PATH];
    return JoinText(programs, sizeof programs, kSettingsWriteKey, kProgramSets) &&
           JoinText(path, kAssignmentTextSize + kProgramNameSize, programs, "\\", program);
}

HKEY OpenSet(const char* program, REGSAM access)
{
    char path[kAssignmentTextSize + kProgramNameSize];
    HKEY key = NULL;
    if (!SetPath(program, path) || RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &key) != ERROR_SUCCESS)
        return NULL;
    return key;
}

HKEY CreateSet(const char* program)
{
    char path[kAssignmentTextSize + kProgramNameSize];
    HKEY key = NULL;
    DWORD disposition = 0;
    if (!SetPath(program, path) || RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                                                   KEY_WRITE, NULL, &key, &disposition) != ERROR_SUCCESS)
        return NULL;
    return key;
}

}  // namespace

StoredAssignment ReadAssignment(const char* program, const char* name, Assignment* assignment, char* text)
{
    ParseAssignment("standard", assignment);
    if (text) text[0] = '\0';
    HKEY set = OpenSet(program, KEY_QUERY_VALUE);
    if (!set) return StoredAssignment::kAbsent;
    // One byte more than the longest text that counts, so that a longer one
    // is seen as too long rather than cut.
    char data[kAssignmentTextSize + 1];
    DWORD type = 0, byteCount = sizeof data;
    const LONG result = RegQueryValueExA(set, name, NULL, &type, reinterpret_cast<BYTE*>(data), &byteCount);
    RegCloseKey(set);
    if (result == ERROR_FILE_NOT_FOUND) return StoredAssignment::kAbsent;
    if (result != ERROR_SUCCESS || type != REG_SZ || byteCount == 0) return StoredAssignment::kNotUnderstood;
    // Text stored without its terminating zero is ended here.
    if (data[byteCount - 1] != '\0') {
        if (byteCount == sizeof data) return StoredAssignment::kNotUnderstood;
        data[byteCount] = '\0';
    }
    if (lstrlenA(data) >= kAssignmentTextSize) return StoredAssignment::kNotUnderstood;
    if (text) lstrcpynA(text, data, kAssignmentTextSize);
    return ParseAssignment(data, assignment) ? StoredAssignment::kUnderstood : StoredAssignment::kNotUnderstood;
}

void AssignmentInEffect(const char* program, const char* name, Assignment* assignment)
{
    StoredAssignment stored = StoredAssignment::kAbsent;
    if (program) stored = ReadAssignment(program, name, assignment, NULL);
    if (stored == StoredAssignment::kAbsent) ReadAssignment(NULL, name, assignment, NULL);
}

bool AnyProgramSet()
{
    char first[kProgramNameSize];
    return ProgramSetAt(0, first);
}

bool WriteAssignmentText(const char* program, const char* name, const char* text)
{
    HKEY set = CreateSet(program);
    if (!set) return false;
    const LONG result = RegSetValueExA(set, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                       static_cast<DWORD>(lstrlenA(text)) + 1);
    RegCloseKey(set);
    return result == ERROR_SUCCESS;
}

bool DeleteAssignment(const char* program, const char* name)
{
    HKEY set = OpenSet(program, KEY_SET_VALUE);
    if (!set) return true;  // nothing there to delete
    const LONG result = RegDeleteValueA(set, name);
    RegCloseKey(set);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool CreateProgramSet(const char* program)
{
    HKEY set = program ? CreateSet(program) : NULL;
    if (!set) return false;
    RegCloseKey(set);
    return true;
}

bool DeleteProgramSet(const char* program)
{
    // A set holds values only, so one RegDeleteKey takes it whole, on
    // Windows 98 and since.
    char path[kAssignmentTextSize + kProgramNameSize];
    if (!program || !SetPath(program, path)) return false;
    const LONG result = RegDeleteKeyA(HKEY_CURRENT_USER, path);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool ProgramSetAt(DWORD index, char* name)
{
    char path[MAX_PATH];
    HKEY programs = NULL;
    name[0] = '\0';
    if (!JoinText(path, sizeof path, kSettingsWriteKey, kProgramSets) ||
        RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ENUMERATE_SUB_KEYS, &programs) != ERROR_SUCCESS)
        return false;
    DWORD size = kProgramNameSize;
    const LONG result = RegEnumKeyExA(programs, index, name, &size, NULL, NULL, NULL, NULL);
    RegCloseKey(programs);
    if (result != ERROR_SUCCESS) name[0] = '\0';
    return result == ERROR_SUCCESS;
}

bool AssignmentNameAt(const char* program, DWORD index, char* name, DWORD size)
{
    name[0] = '\0';
    HKEY set = OpenSet(program, KEY_QUERY_VALUE);
    if (!set) return false;
    DWORD length = size;
    const LONG result = RegEnumValueA(set, index, name, &length, NULL, NULL, NULL, NULL);
    RegCloseKey(set);
    if (result != ERROR_SUCCESS) name[0] = '\0';
    return result == ERROR_SUCCESS || result == ERROR_MORE_DATA;
}

void OtherKeyValueName(WORD usage, char name[kKeyNameSize])
{
    wsprintfA(name, "0x%04X", usage);
}

WORD UsageOfOtherKeyName(const char* name)
{
    if (name[0] != '0' || (name[1] != 'x' && name[1] != 'X')) return 0;
    unsigned usage = 0;
    for (int at = 2; at < 6; ++at) {
        const int digit = HexDigit(name[at]);
        if (digit < 0) return 0;
        usage = usage * 16 + digit;
    }
    return name[6] ? 0 : static_cast<WORD>(usage);
}
