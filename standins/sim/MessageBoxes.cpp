// Finding and answering the message boxes that the programs show.
#include <vector>

#include "sim/Sim.h"

namespace Sim {

namespace {

constexpr int kMessageTextId = 0xFFFF;

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 2);
    int n = GetWindowTextW(hwnd, text.data(), length + 1);
    return std::wstring(text.data(), n > 0 ? n : 0);
}

struct BoxSearch {
    DWORD processId;
    std::optional<MessageBoxInfo> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam)
{
    MessageBoxInfo& box = *reinterpret_cast<MessageBoxInfo*>(lParam);
    if (GetParent(child) != box.window)
        return TRUE;
    std::wstring cls = ClassOf(child);
    // The id is a WORD in a dialog template: IDC_STATIC reads 0xFFFF.
    if (lstrcmpiW(cls.c_str(), L"Static") == 0 && (GetDlgCtrlID(child) & 0xFFFF) == kMessageTextId) {
        box.text = TextOf(child);
    } else if (lstrcmpiW(cls.c_str(), L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) {
        box.buttons.push_back(MessageBoxButton{GetDlgCtrlID(child), TextOf(child), child});
    }
    return TRUE;
}

bool HasMessageText(HWND hwnd)
{
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetDlgCtrlID(child) & 0xFFFF) == kMessageTextId && lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0)
            return true;
    }
    return false;
}

BOOL CALLBACK ExamineTopLevel(HWND hwnd, LPARAM lParam)
{
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (search.processId && processId != search.processId)
        return TRUE;
    // Only a box on screen: while it initialises, all of its possible
    // buttons still show.
    if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd) || !HasMessageText(hwnd))
        return TRUE;
    MessageBoxInfo box;
    box.window = hwnd;
    box.processId = processId;
    box.caption = TextOf(hwnd);
    EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&box));
    if (box.buttons.empty())
        return TRUE;
    search.found = std::move(box);
    return FALSE;
}

}  // namespace

std::optional<MessageBoxInfo> FindMessageBox(DWORD processId)
{
    BoxSearch search{processId, std::nullopt};
    EnumWindows(ExamineTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool PressButton(const MessageBoxInfo& box, int buttonId)
{
    HWND button = nullptr;
    for (const MessageBoxButton& candidate : box.buttons) {
        if (candidate.id == buttonId)
            button = candidate.window;
    }
    if (!button)
        button = GetDlgItem(box.window, buttonId);
    return button && PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(button));
}

}  // namespace Sim
