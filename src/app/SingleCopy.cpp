// Why a mutex first and the window second: the mutex is taken before
// anything else happens, so two starts a moment apart can never both go
// on; but the running copy's dialog exists only from its modal run on, so
// a copy that is still starting may hold the mutex without a window yet.
// The second copy waits for that window, within a bound; should the first
// copy end meanwhile, its mutex is abandoned and the waiting copy takes it.
//
// The product and the simulated build share the mutex and exclude each
// other: their dialogs have the same class and title, so a second start
// could not tell whose window it found, and both would drive the one mixer
// and the one set of settings.
#include "app/SingleCopy.h"
#include "app/KeyboardDialog.h"
#include "res/resource.h"

namespace {

const char kRunningCopyMutex[] = "Zerith Multimedia Keyboard";
const char kDialogClass[] = "#32770";
const DWORD kFirstWindowWaitMs = 10000;
const DWORD kLookEveryMs = 100;
const UINT kShowTimeoutMs = 5000;

void ShowRunningCopy(HWND dialog)
{
    // Sent, not posted: the window is shown before it is brought forward.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(dialog, WM_COMMAND, ID_TRAY_SHOW, 0, SMTO_ABORTIFHUNG, kShowTimeoutMs, &result);
    // A dialog open over it (the Keys dialog, the About box) comes forward
    // in its place. This copy may take the foreground: the user just started it.
    SetForegroundWindow(GetLastActivePopup(dialog));
}

}  // namespace

bool StartAsTheOnlyCopy()
{
    HANDLE mutex = CreateMutexA(NULL, TRUE, kRunningCopyMutex);
    // No mutex at all (another kind of object took the name): run, as
    // before there was a guard.
    if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    for (DWORD waited = 0; waited < kFirstWindowWaitMs; waited += kLookEveryMs) {
        HWND running = FindWindowA(kDialogClass, kProgramTitle);
        if (running) {
            ShowRunningCopy(running);
            CloseHandle(mutex);
            return false;
        }
        const DWORD taken = WaitForSingleObject(mutex, kLookEveryMs);
        if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) return true;
    }
    // A copy that holds the mutex and never shows a window is stuck: a
    // second copy beside it would still act on every key twice.
    CloseHandle(mutex);
    return false;
}
