#include "app/KeyboardApp.h"
#include "app/KeyboardDialog.h"

static KeyboardApp theApp;

BOOL KeyboardApp::InitInstance()
{
    KeyboardDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = 0;
    // The dialog's destruction removes the tray icon. FALSE: no message loop
    // of the application's own; the program ends here.
    return FALSE;
}
