// KeyboardApp: runs the one KeyboardDialog, unless a copy of the program
// already runs (app/SingleCopy.h); the program ends when it returns.
#pragma once
#include "fw/WinApp.h"

class KeyboardApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
