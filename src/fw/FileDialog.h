// CFileDialog: the platform's file-open (or save) dialog, run modally.
#pragma once
#include <windows.h>
#include <commdlg.h>

class CWnd;

class CFileDialog {
public:
    // The filter is in the "Name|pattern|Name|pattern||" form; bars become
    // the zero separators the platform expects.
    CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = 0, LPCSTR fileName = 0,
                DWORD flags = 0, LPCSTR filter = 0, CWnd* parent = 0);
    virtual ~CFileDialog() {}

    // IDOK when a file was chosen, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    const char* GetPathName() const { return m_fileName; }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_openFileDialog;
    char m_fileName[MAX_PATH];
    char m_filter[256];
};
