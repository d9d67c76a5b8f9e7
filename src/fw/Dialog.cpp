#include "fw/Dialog.h"
#include "fw/ResourceLanguage.h"

const MessageMapEntry CDialog::messageEntries[] = {
    ON_COMMAND(IDOK, &CDialog::HandleOK),
    ON_COMMAND(IDCANCEL, &CDialog::HandleCancel),
    END_MESSAGE_MAP
};
IMPLEMENT_MESSAGE_MAP(CDialog, CWnd)

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR CDialog::DoModal()
{
    HWND parent = m_parent ? m_parent->m_hWnd : NULL;
    const void* dialogTemplate = FindLocalResource(RT_DIALOG, m_templateId);
    if (!dialogTemplate) return -1;
    return DialogBoxIndirectParamA(GetModuleHandleA(NULL), static_cast<LPCDLGTEMPLATEA>(dialogTemplate), parent,
                                   &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

// The dialog procedure only attaches the object. From WM_INITDIALOG on, the
// window is subclassed, so every message reaches the object's WindowProc
// first and Default() is the dialog manager's own processing, which calls
// back here and is answered "not handled".
INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* self = reinterpret_cast<CDialog*>(lParam);
    self->SubclassWindow(hwnd);
    return self->OnInitDialog();
}
