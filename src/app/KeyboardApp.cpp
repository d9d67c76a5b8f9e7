#include "app/KeyboardApp.h"
#include "app/KeyboardDialog.h"

static KeyboardApp g_keyboardApp;  // the framework's WinMain runs it

BOOL KeyboardApp::InitInstance()
{
    KeyboardDialog dialog;
    dialog.DoModal();
    // The dialog's destruction removes the tray icon; the program ends here,
    // without a message loop of its own.
    return FALSE;
}
