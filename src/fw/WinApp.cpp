#include "fw/WinApp.h"
#include "fw/Wnd.h"

static CWinApp* s_application;

CWinApp::CWinApp() : m_hInstance(GetModuleHandleA(NULL)), m_pMainWnd(0)
{
    m_appName[0] = '\0';
    s_application = this;
}

CWinApp::~CWinApp()
{
    if (s_application == this) s_application = 0;
}

CWinApp* GetApp() { return s_application; }

HWND GetMainWindowHandle()
{
    return s_application && s_application->m_pMainWnd ? s_application->m_pMainWnd->m_hWnd : NULL;
}

HICON CWinApp::LoadIcon(UINT resourceId) const
{
    return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(resourceId));
}

const char* CWinApp::AppName()
{
    if (m_appName[0]) return m_appName;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    lstrcpynA(m_appName, name, sizeof m_appName);
    char* dot = 0;
    for (char* p = m_appName; *p; ++p)
        if (*p == '.') dot = p;
    if (dot) *dot = '\0';
    return m_appName;
}

int CWinApp::Run()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}
