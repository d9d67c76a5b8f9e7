// CMenu: a menu loaded from the application's resources in their language, destroyed with the
// object, as every loaded menu must be.
#pragma once
#include <windows.h>
#include "fw/ResourceLanguage.h"

class CMenu {
public:
    CMenu() : m_hMenu(NULL) {}
    ~CMenu()
    {
        if (m_hMenu) ::DestroyMenu(m_hMenu);
    }

    BOOL LoadMenu(UINT resourceId)
    {
        if (m_hMenu) ::DestroyMenu(m_hMenu);
        m_hMenu = LoadLocalMenu(resourceId);
        return m_hMenu != NULL;
    }
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }

    HMENU m_hMenu;

private:
    CMenu(const CMenu&);
    CMenu& operator=(const CMenu&);
};
