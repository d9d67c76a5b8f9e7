#include "app/KeyboardApp.h"
#include "app/KeyboardDialog.h"
#include "app/SingleCopy.h"
#include "fw/ResourceLanguage.h"

static KeyboardApp g_keyboardApp;  // the framework's WinMain runs it

BOOL KeyboardApp::InitInstance()
{
    // First of all, so that two starts a moment apart never both go on. On
    // another Windows the dialog's gate ends the program unseen, and no
    // copy there waits for a window that will never come.
    if (IsSupportedSystem() && !StartAsTheOnlyCopy()) return FALSE;
    // Once, before anything is shown: every dialog, menu and string follows.
    ChooseResourceLanguage();
    KeyboardDialog dialog;
    dialog.DoModal();
    // The dialog's destruction removes the tray icon; the program ends here,
    // without a message loop of its own.
    return FALSE;
}
