#include "fw/WinApp.h"
#include "fw/FileNames.h"

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
    lstrcpynA(name, FileNameOf(path), sizeof name);
    name[ExtensionOf(name) - name] = '\0';
    return name;
}
