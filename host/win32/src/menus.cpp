// Menus as item lists, and popup tracking answered by an installed chooser.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "w32_probes.h"
#include "window_table.h"

namespace {

constexpr UINT kTypeBits = MF_BITMAP | MF_OWNERDRAW | MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK |
                           MF_SEPARATOR | 0x4000 /* MFT_RIGHTJUSTIFY */;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

struct Item {
    UINT type = 0;   // MF_/MFT_ type bits
    UINT state = 0;  // MF_/MFS_ state bits
    UINT id = 0;
    std::wstring text;
    HBITMAP bitmap = nullptr;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
};

struct Menu {
    std::vector<Item> items;
};

struct MenuState {
    std::mutex mutex;
    std::unordered_map<ULONG_PTR, std::shared_ptr<Menu>> menus;
    ULONG_PTR next = 0x20000;
    W32PopupMenuChooser chooser = nullptr;
    void* context = nullptr;
    bool tracking = false;
};

MenuState& Menus() {
    static MenuState* s = new MenuState;
    return *s;
}

std::shared_ptr<Menu> Find(HMENU h) {
    MenuState& s = Menus();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.menus.find(reinterpret_cast<ULONG_PTR>(h));
    if (it != s.menus.end()) return it->second;
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
}

Item* Locate(Menu& m, UINT item, BOOL byPosition) {
    if (byPosition) return item < m.items.size() ? &m.items[item] : nullptr;
    for (Item& i : m.items)
        if (!(i.type & (MF_POPUP | MF_SEPARATOR)) && i.id == item) return &i;
    return nullptr;
}

bool Choosable(const Item& i) {
    return !(i.state & (MF_GRAYED | MF_DISABLED)) && !(i.type & (MF_SEPARATOR | MF_POPUP));
}

}  // namespace

extern "C" {

HMENU CreatePopupMenu() {
    MenuState& s = Menus();
    std::lock_guard<std::mutex> lock(s.mutex);
    const ULONG_PTR h = s.next;
    s.next += 0x10;
    s.menus[h] = std::make_shared<Menu>();
    return reinterpret_cast<HMENU>(h);
}

BOOL DestroyMenu(HMENU menu) {
    MenuState& s = Menus();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.menus.erase(reinterpret_cast<ULONG_PTR>(menu)) == 0) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
    auto m = Find(menu);
    if (!m) return FALSE;
    Item i;
    i.type = flags & kTypeBits;
    i.state = flags & kStateBits;
    if (flags & MF_POPUP)
        i.submenu = reinterpret_cast<HMENU>(idNewItem);
    else
        i.id = static_cast<UINT>(idNewItem);
    if (flags & MF_BITMAP)
        i.bitmap = reinterpret_cast<HBITMAP>(const_cast<LPWSTR>(newItem));
    else if (!(flags & (MF_SEPARATOR | MF_OWNERDRAW)) && newItem)
        i.text = newItem;
    m->items.push_back(std::move(i));
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!info || info->cbSize != sizeof(MENUITEMINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto m = Find(menu);
    if (!m) return FALSE;
    Item* i = Locate(*m, item, byPosition);
    if (!i) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    if (info->fMask & MIIM_FTYPE) i->type = info->fType & kTypeBits;
    if (info->fMask & MIIM_STATE) i->state = info->fState & kStateBits;
    if (info->fMask & MIIM_ID) i->id = info->wID;
    if (info->fMask & MIIM_SUBMENU) i->submenu = info->hSubMenu;
    if (info->fMask & MIIM_DATA) i->data = info->dwItemData;
    if (info->fMask & MIIM_STRING) i->text = info->dwTypeData ? info->dwTypeData : L"";
    if (info->fMask & MIIM_BITMAP) i->bitmap = info->hbmpItem;
    return TRUE;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
    if (!info || info->cbSize != sizeof(MENUITEMINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto m = Find(menu);
    if (!m) return FALSE;
    const Item* i = Locate(*m, item, byPosition);
    if (!i) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    if (info->fMask & MIIM_FTYPE) info->fType = i->type;
    if (info->fMask & MIIM_STATE) info->fState = i->state;
    if (info->fMask & MIIM_ID) info->wID = i->id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = i->submenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = i->data;
    if (info->fMask & MIIM_BITMAP) info->hbmpItem = i->bitmap;
    if (info->fMask & MIIM_STRING) {
        // Without a buffer the length is answered; otherwise as much as fits, zero-terminated.
        if (info->dwTypeData && info->cch > 0) {
            const std::size_t n = std::min<std::size_t>(i->text.size(), info->cch - 1);
            i->text.copy(info->dwTypeData, n);
            info->dwTypeData[n] = L'\0';
            info->cch = static_cast<UINT>(n);
        } else {
            info->cch = static_cast<UINT>(i->text.size());
        }
    }
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    auto m = Find(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
    // Held for the whole call: the chooser may destroy the menu meanwhile.
    auto m = Find(menu);
    if (!m) return FALSE;
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MenuState& s = Menus();
    W32PopupMenuChooser chooser = nullptr;
    void* context = nullptr;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.tracking) {
            SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
            return FALSE;
        }
        s.tracking = true;
        chooser = s.chooser;
        context = s.context;
    }
    const std::vector<Item> items = m->items;
    std::vector<W32MenuItemView> views;
    views.reserve(items.size());
    for (const Item& i : items) views.push_back({i.id, i.type | i.state, i.text.c_str(), i.bitmap});
    const W32PopupMenuRequest request{
        menu, flags, x, y, owner, views.data(), static_cast<UINT>(views.size())};
    UINT cmd = chooser ? chooser(context, &request) : 0;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.tracking = false;
    }
    bool found = false;
    for (const Item& i : items)
        if (cmd != 0 && i.id == cmd && Choosable(i)) found = true;
    if (!found) cmd = 0;
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(cmd);
    if (cmd != 0 && !(flags & TPM_NONOTIFY)) SendMessageW(owner, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
    return cmd != 0 ? TRUE : FALSE;
}

W32PopupMenuChooser W32SetPopupMenuChooser(W32PopupMenuChooser chooser, void* context) {
    MenuState& s = Menus();
    std::lock_guard<std::mutex> lock(s.mutex);
    W32PopupMenuChooser old = s.chooser;
    s.chooser = chooser;
    s.context = context;
    return old;
}

}  // extern "C"
