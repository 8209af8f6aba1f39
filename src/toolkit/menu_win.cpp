#include "toolkit/menu_win.h"

#include "core/shortcut_text.h"
#include "toolkit/application_win.h"

namespace tk {

namespace {
UINT nextMenuId = 1000;
}

MenuItem::~MenuItem() {
    if (submenu_) DestroyMenu(submenu_);
}

MenuItem* MenuItem::add(const std::wstring& n, const std::wstring& c, std::function<void()> fn) {
    auto item = std::make_unique<MenuItem>(n, c);
    item->onClick = std::move(fn);
    item->parent = this;
    item->id_ = nextMenuId++;
    items_.push_back(std::move(item));
    return items_.back().get();
}

MenuItem* MenuItem::separator() { return add(L"", L"-"); }

void MenuItem::click() {
    if (onClick) {
        auto fn = onClick;  // the handler may rebuild menus
        app().guarded(fn);
    }
}

void MenuItem::ensureHandle(bool bar) {
    if (!submenu_) submenu_ = bar ? CreateMenu() : CreatePopupMenu();
}

void MenuItem::populate() {
    ensureHandle(false);
    while (GetMenuItemCount(submenu_) > 0) RemoveMenu(submenu_, 0, MF_BYPOSITION);
    bool lastWasSeparator = true;
    for (auto& it : items_) {
        if (!it->visible) continue;
        if (it->caption == L"-") {
            if (lastWasSeparator) continue;
            AppendMenuW(submenu_, MF_SEPARATOR, 0, nullptr);
            lastWasSeparator = true;
            continue;
        }
        lastWasSeparator = false;
        std::wstring text = it->caption;
        if (it->shortcut) text += L"\t" + shortcutDisplayText(it->shortcut);
        MENUITEMINFOW mi{sizeof(mi)};
        mi.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        mi.fType = it->radio ? MFT_RADIOCHECK : 0;
        mi.fState = (it->checked ? MFS_CHECKED : 0) | (it->enabled ? 0 : MFS_DISABLED);
        mi.wID = it->id_;
        mi.dwTypeData = text.data();
        if (it->hasItems()) {
            it->ensureHandle(false);
            it->populate();
            mi.fMask |= MIIM_SUBMENU;
            mi.hSubMenu = it->submenu_;
        }
        InsertMenuItemW(submenu_, GetMenuItemCount(submenu_), TRUE, &mi);
    }
    // Drop a trailing separator.
    int n = GetMenuItemCount(submenu_);
    if (n > 0 && (GetMenuState(submenu_, n - 1, MF_BYPOSITION) & MF_SEPARATOR))
        RemoveMenu(submenu_, n - 1, MF_BYPOSITION);
}

MenuItem* MenuItem::findById(UINT id) {
    if (id_ == id) return this;
    for (auto& it : items_)
        if (MenuItem* f = it->findById(id)) return f;
    return nullptr;
}

MenuItem* MenuItem::findByHandle(HMENU h) {
    if (submenu_ == h) return this;
    for (auto& it : items_)
        if (MenuItem* f = it->findByHandle(h)) return f;
    return nullptr;
}

MenuItem* MenuItem::findByName(const std::wstring& n) {
    if (name == n) return this;
    for (auto& it : items_)
        if (MenuItem* f = it->findByName(n)) return f;
    return nullptr;
}

MenuItem* MenuItem::findByShortcut(WORD sc) {
    if (shortcut == sc && sc != 0 && !hasItems()) return this;
    for (auto& it : items_)
        if (MenuItem* f = it->findByShortcut(sc)) return f;
    return nullptr;
}

Menu::Menu(Kind kind) : kind_(kind), root_(std::make_unique<MenuItem>(L"", L"")) {}

void Menu::attach(HWND hwnd) {
    attached_ = hwnd;
    refresh();
}

void Menu::refresh() {
    if (kind_ != Bar || !attached_) return;
    bool any = false;
    for (auto& it : root_->items_) any = any || it->visible;
    if (!any) {
        // No visible item: no menu bar at all.
        SetMenu(attached_, nullptr);
        return;
    }
    root_->ensureHandle(true);
    root_->populate();
    if (GetMenu(attached_) != root_->submenu_) SetMenu(attached_, root_->submenu_);
    DrawMenuBar(attached_);
}

void Menu::popup(HWND owner, int x, int y) {
    root_->populate();
    UINT id = static_cast<UINT>(TrackPopupMenu(
        root_->submenu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (id) dispatchCommand(id);
}

bool Menu::dispatchCommand(UINT id) {
    MenuItem* it = root_->findById(id);
    if (!it || it == root_.get()) return false;
    if (it->enabled) it->click();
    return true;
}

bool Menu::dispatchShortcut(WORD sc) {
    MenuItem* it = root_->findByShortcut(sc);
    if (!it) return false;
    // Let the enclosing submenus update their enabling first, as if opened.
    std::vector<MenuItem*> chain;
    for (MenuItem* p = it->parent; p && p != root_.get(); p = p->parent) chain.push_back(p);
    for (auto i = chain.rbegin(); i != chain.rend(); ++i)
        if ((*i)->onClick) (*i)->click();
    if (!it->enabled) return false;
    it->click();
    return true;
}

bool Menu::initPopup(HMENU h) {
    MenuItem* it = root_->findByHandle(h);
    if (!it) return false;
    if (it != root_.get() && it->onClick) it->click();
    it->populate();
    return true;
}

std::wstring shortcutDisplayText(WORD shortcut) {
    auto keyName = [](unsigned vk) -> std::string {
        UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        char buf[64] = {};
        if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), buf, sizeof buf) > 0) return buf;
        return {};
    };
    return widen(hueloom::shortcutToText(shortcut, keyName));
}

}  // namespace tk
