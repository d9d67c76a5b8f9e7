// CWinApp: the one application object. The framework's WinMain runs its
// InitInstance, then its message loop only if InitInstance returns TRUE.
#pragma once
#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }

    HICON LoadIcon(UINT resourceId) const;

    // The running executable's file name without its extension.
    const char* AppName();

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;

private:
    char m_appName[MAX_PATH];
};

// The application object, or NULL when none was constructed.
CWinApp* GetApp();
// The application's main window, or NULL.
HWND GetMainWindowHandle();
