#include "fw/FileDialog.h"
#include <stddef.h>

#ifndef _WIN64
// OPENFILENAME_SIZE_VERSION_400A, which the compiler cannot evaluate here.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the file dialog record Windows 98 takes");
#endif

CFileDialog::CFileDialog(LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter, HWND owner)
{
    ZeroMemory(&m_ofn, sizeof m_ofn);
    m_fileName[0] = '\0';
    m_filter[0] = '\0';
    if (fileName) lstrcpynA(m_fileName, fileName, sizeof m_fileName);
    if (filter) {
        // Two zeros end the list even when the text is cut at the buffer's end.
        int i = 0;
        for (; filter[i] && i < (int)sizeof m_filter - 2; ++i)
            m_filter[i] = filter[i] == '|' ? '\0' : filter[i];
        m_filter[i] = m_filter[i + 1] = '\0';
    }
    // Windows 98 knows only the structure without the Windows 2000 fields.
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_ofn.hwndOwner = owner;
    m_ofn.hInstance = GetModuleHandleA(NULL);
    m_ofn.lpstrFilter = filter ? m_filter : NULL;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = sizeof m_fileName;
    m_ofn.lpstrDefExt = defaultExtension;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    return GetOpenFileNameA(&m_ofn) ? IDOK : IDCANCEL;
}
