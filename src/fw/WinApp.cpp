#include "fw/WinApp.h"

static CWinApp* g_application;

CWinApp::CWinApp() { g_application = this; }

CWinApp::~CWinApp()
{
    if (g_application == this) g_application = 0;
}

CWinApp* GetApp() { return g_application; }

const char* AppName()
{
    static char name[MAX_PATH];  // user-interface thread only
    if (name[0]) return name;
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    const char* file = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') file = p + 1;
    lstrcpynA(name, file, sizeof name);
    char* dot = 0;
    for (char* p = name; *p; ++p)
        if (*p == '.') dot = p;
    if (dot) *dot = '\0';
    return name;
}
