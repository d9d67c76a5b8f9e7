// CWinApp: the one application object. The framework's WinMain runs its
// InitInstance, whose return ends the program: a dialog-based program runs
// its dialog's modal loop in there and has no message loop of its own.
#pragma once
#include <windows.h>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitInstance() = 0;
};

// The application object, or NULL when none was constructed.
CWinApp* GetApp();

// The running executable's file name without its extension: the caption of
// the program's message boxes.
const char* AppName();
