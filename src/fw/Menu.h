// CMenu: a menu handle and the few operations the program uses on it.
#pragma once
#include <windows.h>

class CMenu {
public:
    CMenu() : m_hMenu(NULL) {}
    explicit CMenu(HMENU menu) : m_hMenu(menu) {}

    // From the application's resources.
    BOOL LoadMenu(UINT resourceId)
    {
        m_hMenu = ::LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(resourceId));
        return m_hMenu != NULL;
    }
    BOOL DestroyMenu()
    {
        HMENU menu = m_hMenu;
        m_hMenu = NULL;
        return menu ? ::DestroyMenu(menu) : FALSE;
    }
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = 0)
    {
        return ::AppendMenuA(m_hMenu, flags, id, text);
    }

    HMENU m_hMenu;
};
