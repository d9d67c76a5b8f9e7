// CWnd: a C++ object attached to one window, whose messages go through the
// object's message map and fall back to the window's default procedure.
#pragma once
#include <windows.h>
#include "fw/MessageMap.h"

// Puts proc in place of the window's procedure and returns the one it
// replaced. The WNDPROC parameter is the point: the compiler checks that proc
// is CALLBACK, which a cast to LONG_PTR at the call would hide, and a
// procedure of the wrong calling convention unbalances only a 32-bit stack.
inline WNDPROC ReplaceWindowProc(HWND window, WNDPROC proc)
{
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

class CWnd {
public:
    CWnd();
    virtual ~CWnd();

    // Creates the window with a class registered by RegisterWndClass (or any
    // registered class) and attaches it to this object.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menu);
    BOOL DestroyWindow();
    BOOL ShowWindow(int showCommand) { return ::ShowWindow(m_hWnd, showCommand); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // Centred on owner (on the work area when there is none, or it is hidden
    // or minimised), and moved no more than keeps it whole on the work area.
    void CenterWindow(HWND owner);

    // The framework's own window class: no class style, cursor, background
    // brush or icon. Its name stays valid; NULL when it cannot be registered.
    static LPCSTR RegisterWndClass();

    HWND m_hWnd;

protected:
    virtual const MessageMap* GetMessageMap() const;
    static const MessageMapEntry messageEntries[];

    // The message map first, then Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The processing the window would have had without this object.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Routes a window's messages through this object from now on.
    void SubclassWindow(HWND hwnd);

public:
    static const MessageMap messageMap;

private:
    bool DispatchThroughMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static LRESULT CALLBACK StandardWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_superProc;
};
