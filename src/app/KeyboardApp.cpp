#include "app/KeyboardApp.h"
#include "app/KeyboardDialog.h"
#include "fw/ResourceLanguage.h"

static KeyboardApp g_keyboardApp;  // the framework's WinMain runs it

BOOL KeyboardApp::InitInstance()
{
    // Once, before anything is shown: every dialog, menu and string follows.
    ChooseResourceLanguage();
    KeyboardDialog dialog;
    dialog.DoModal();
    // The dialog's destruction removes the tray icon; the program ends here,
    // without a message loop of its own.
    return FALSE;
}
