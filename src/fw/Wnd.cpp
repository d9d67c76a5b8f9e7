#include "fw/Wnd.h"

// The object of a window is kept in a window property rather than in
// GWLP_USERDATA, which dialogs and controls may use themselves.
static const char kObjectProperty[] = "MMKeyboard.CWnd";

const MessageMapEntry CWnd::messageEntries[] = { END_MESSAGE_MAP };
const MessageMap CWnd::messageMap = { 0, CWnd::messageEntries };

CWnd::CWnd() : m_hWnd(NULL), m_superProc(NULL) {}

CWnd::~CWnd()
{
    if (m_hWnd && IsWindow(m_hWnd)) RemovePropA(m_hWnd, kObjectProperty);
}

const MessageMap* CWnd::GetMessageMap() const { return &messageMap; }

LPCSTR CWnd::RegisterWndClass()
{
    static const char kClassName[] = "MMKeyboardWnd";
    WNDCLASSA wc;
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (GetClassInfoA(instance, kClassName, &wc)) return kClassName;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;  // replaced per window by SubclassWindow
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) ? kClassName : NULL;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu)
{
    HWND hwnd = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                                parent, menu, GetModuleHandleA(NULL), NULL);
    if (!hwnd) return FALSE;
    SubclassWindow(hwnd);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::CenterWindow(HWND owner)
{
    RECT work, around, window;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    around = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    int left = (around.left + around.right - width) / 2, top = (around.top + around.bottom - height) / 2;
    // The far edges first: a window larger than the work area keeps its
    // caption and its left edge in view.
    if (left + width > work.right) left = work.right - width;
    if (top + height > work.bottom) top = work.bottom - height;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    SetWindowPos(m_hWnd, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SubclassWindow(HWND hwnd)
{
    m_hWnd = hwnd;
    SetPropA(hwnd, kObjectProperty, reinterpret_cast<HANDLE>(this));
    m_superProc = ReplaceWindowProc(hwnd, &CWnd::StandardWndProc);
}

LRESULT CALLBACK CWnd::StandardWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = reinterpret_cast<CWnd*>(GetPropA(hwnd, kObjectProperty));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window goes; the object stays and may be destroyed later.
        LRESULT result = self->Default(message, wParam, lParam);
        RemovePropA(hwnd, kObjectProperty);
        self->m_hWnd = NULL;
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}

bool CWnd::DispatchThroughMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const MessageMapEntry* entry = map->entries; entry->message; ++entry) {
            if (entry->message != message) continue;
            // ON_COMMAND: menu items, accelerators and button clicks (codes 0
            // and 1); other notifications (edit changes and the like) only
            // where an ON_CONTROL names them.
            const UINT code = HIWORD(entry->commandId);
            if (message == WM_COMMAND &&
                (LOWORD(entry->commandId) != LOWORD(wParam) || (code ? code != HIWORD(wParam) : HIWORD(wParam) > 1)))
                continue;
            *result = (this->*entry->handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (DispatchThroughMap(message, wParam, lParam, &result)) return result;
    return Default(message, wParam, lParam);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc) return CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}
