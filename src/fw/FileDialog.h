// CFileDialog: the platform's file-open dialog, run modally.
#pragma once
#include <windows.h>
#include <commdlg.h>

class CFileDialog {
public:
    // The filter is in the "Name|pattern|Name|pattern||" form; bars become
    // the zero separators the platform expects.
    CFileDialog(LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter, HWND owner);

    // IDOK when a file was chosen, IDCANCEL otherwise.
    INT_PTR DoModal();
    const char* GetPathName() const { return m_fileName; }

    OPENFILENAMEA m_ofn;

private:
    char m_fileName[MAX_PATH];
    char m_filter[256];
};
