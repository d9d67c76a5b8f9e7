// CDialog: a modal dialog from a template. The platform's dialog manager runs
// the modal loop; once initialised, the dialog's messages go through the
// object's message map like any CWnd's.
#pragma once
#include "fw/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = 0);

    // Runs the dialog and its modal loop, owned by the parent given at
    // construction; returns what EndDialog was given, or -1 when the dialog
    // could not be created.
    INT_PTR DoModal();
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

    virtual BOOL OnInitDialog() { return TRUE; }
    // Enter and Escape, the close box (through WM_CLOSE) and IDOK/IDCANCEL
    // buttons arrive here; both end the dialog unless overridden.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    DECLARE_MESSAGE_MAP()

protected:
    UINT m_templateId;
    CWnd* m_parent;

private:
    LRESULT HandleOK(WPARAM, LPARAM) { OnOK(); return 0; }
    LRESULT HandleCancel(WPARAM, LPARAM) { OnCancel(); return 0; }
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
