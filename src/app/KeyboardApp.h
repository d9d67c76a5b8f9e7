// KeyboardApp: runs the one KeyboardDialog; the program ends when it returns.
#pragma once
#include "fw/WinApp.h"

class KeyboardApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
