// Message maps as data. Each window class has one table of entries, built on
// first use and chained to its base class's table. An entry names a message
// (or, for WM_COMMAND, a control id and notification code) and an adapter
// that cracks wParam and lParam once and calls a typed member. Registered
// message ids are read from the system when the table is built, at run time.
//
//   const MessageMap* CMyDlg::GetThisMessageMap() {
//       static const MessageMap map(CDialog::GetThisMessageMap(), {
//           Msg::Command(1000, BN_CLICKED, &CMyDlg::OnClickClose),
//           Msg::Message(WM_PAINT, &CMyDlg::OnPaint),
//           Msg::Registered(L"KestrelProgress", &CMyDlg::OnProgressMessage),
//       });
//       return &map;
//   }
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

class CWnd;

struct MessageEntry {
    UINT message = 0;
    // For WM_COMMAND entries: the notification code and the control id.
    bool isCommand = false;
    UINT code = 0;
    UINT id = 0;
    std::function<LRESULT(CWnd&, WPARAM, LPARAM)> call;
};

class MessageMap {
public:
    MessageMap(const MessageMap* pBase, std::initializer_list<MessageEntry> entries)
        : m_pBase(pBase), m_entries(entries) {}

    const MessageMap* Base() const { return m_pBase; }
    const std::vector<MessageEntry>& Entries() const { return m_entries; }

    // The first matching entry of this table or, failing that, of its bases.
    const MessageEntry* Find(UINT message, WPARAM wParam) const {
        for (const MessageMap* map = this; map != nullptr; map = map->m_pBase) {
            for (const MessageEntry& e : map->m_entries) {
                if (e.message != message) continue;
                if (e.isCommand && (e.id != LOWORD(wParam) || e.code != HIWORD(wParam))) continue;
                return &e;
            }
        }
        return nullptr;
    }

private:
    const MessageMap* m_pBase;
    std::vector<MessageEntry> m_entries;
};

// Typed adapters. T is deduced from the member pointer; the window object is
// the class that owns the map, so the downcast is safe.
namespace Msg {

template <class T>
MessageEntry Message(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {message, false, 0, 0,
            [fn](CWnd& w, WPARAM wp, LPARAM lp) { return (static_cast<T&>(w).*fn)(wp, lp); }};
}

template <class T>
MessageEntry Message(UINT message, void (T::*fn)()) {
    return {message, false, 0, 0, [fn](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                (static_cast<T&>(w).*fn)();
                return 0;
            }};
}

// A registered message, by name; the id is obtained when the table is built.
template <class T>
MessageEntry Registered(const wchar_t* name, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return Message(::RegisterWindowMessageW(name), fn);
}
template <class T>
MessageEntry Registered(const char* name, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return Message(::RegisterWindowMessageA(name), fn);
}

template <class T>
MessageEntry Command(UINT id, UINT code, void (T::*fn)()) {
    return {WM_COMMAND, true, code, id, [fn](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                (static_cast<T&>(w).*fn)();
                return 0;
            }};
}

template <class T>
MessageEntry Timer(void (T::*fn)(UINT_PTR)) {
    return {WM_TIMER, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM) -> LRESULT {
                (static_cast<T&>(w).*fn)(static_cast<UINT_PTR>(wp));
                return 0;
            }};
}

// WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, ...: key flags and client point.
template <class T>
MessageEntry Mouse(UINT message, void (T::*fn)(UINT, POINT)) {
    return {message, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
                (static_cast<T&>(w).*fn)(static_cast<UINT>(wp), pt);
                return 0;
            }};
}

template <class T>
MessageEntry EraseBkgnd(BOOL (T::*fn)(HDC)) {
    return {WM_ERASEBKGND, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM) -> LRESULT {
                return (static_cast<T&>(w).*fn)(reinterpret_cast<HDC>(wp));
            }};
}

template <class T>
MessageEntry Move(void (T::*fn)(int, int)) {
    return {WM_MOVE, false, 0, 0, [fn](CWnd& w, WPARAM, LPARAM lp) -> LRESULT {
                (static_cast<T&>(w).*fn)(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
                return 0;
            }};
}

template <class T>
MessageEntry Size(void (T::*fn)(UINT, int, int)) {
    return {WM_SIZE, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                (static_cast<T&>(w).*fn)(static_cast<UINT>(wp), static_cast<short>(LOWORD(lp)),
                                         static_cast<short>(HIWORD(lp)));
                return 0;
            }};
}

template <class T>
MessageEntry ShowWindow(void (T::*fn)(BOOL, UINT)) {
    return {WM_SHOWWINDOW, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                (static_cast<T&>(w).*fn)(static_cast<BOOL>(wp), static_cast<UINT>(lp));
                return 0;
            }};
}

template <class T>
MessageEntry Activate(void (T::*fn)(UINT, HWND, BOOL)) {
    return {WM_ACTIVATE, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                (static_cast<T&>(w).*fn)(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp) != 0);
                return 0;
            }};
}

template <class T>
MessageEntry QueryDragIcon(HCURSOR (T::*fn)()) {
    return {WM_QUERYDRAGICON, false, 0, 0, [fn](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                return reinterpret_cast<LRESULT>((static_cast<T&>(w).*fn)());
            }};
}

template <class T>
MessageEntry DeviceChange(BOOL (T::*fn)(UINT, DWORD_PTR)) {
    return {WM_DEVICECHANGE, false, 0, 0, [fn](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
                return (static_cast<T&>(w).*fn)(static_cast<UINT>(wp), static_cast<DWORD_PTR>(lp));
            }};
}

}  // namespace Msg
