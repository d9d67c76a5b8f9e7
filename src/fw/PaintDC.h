// CPaintDC: BeginPaint for the lifetime of the object, EndPaint after.
#pragma once
#include <windows.h>

class CPaintDC {
public:
    explicit CPaintDC(HWND window) : m_window(window) { m_hDC = BeginPaint(window, &m_ps); }
    ~CPaintDC() { EndPaint(m_window, &m_ps); }

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    HWND m_window;
    CPaintDC(const CPaintDC&);
    CPaintDC& operator=(const CPaintDC&);
};
