// AboutDialog: the About box, from the system menu.
#pragma once
#include "fw/Dialog.h"
#include "res/resource.h"

class AboutDialog : public CDialog {
public:
    explicit AboutDialog(CWnd* owner) : CDialog(IDD_ABOUTBOX, owner) {}
};
