#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = GetApp();
    if (!app) return 1;
    app->InitInstance();
    return 0;
}
