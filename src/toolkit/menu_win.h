// Menus: a tree of items with captions, check marks (radio twins), enabled
// and visible states, shortcuts and click handlers. The same tree serves a
// window's menu bar or a pop-up menu; HMENUs are rebuilt from it whenever a
// submenu opens, so the item objects are the only state.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class MenuItem {
public:
    MenuItem(std::wstring name, std::wstring caption) : name(std::move(name)), caption(std::move(caption)) {}
    ~MenuItem();

    std::wstring name;
    std::wstring caption;  // "-" makes a separator
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool radio = false;  // shows its check mark as a bullet
    WORD shortcut = 0;  // shortcut word (vk | $2000 Shift | $4000 Ctrl | $8000 Alt)
    std::function<void()> onClick;  // for a submenu: runs when it opens
    MenuItem* parent = nullptr;

    MenuItem* add(const std::wstring& name, const std::wstring& caption, std::function<void()> onClick = nullptr);
    MenuItem* separator();
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
    bool hasItems() const { return !items_.empty(); }
    UINT id() const { return id_; }
    HMENU submenu() const { return submenu_; }

    // Runs the click handler as if the item had been chosen.
    void click();
    // Fills the HMENU of this submenu from the visible children.
    void populate();
    MenuItem* findById(UINT id);
    MenuItem* findByHandle(HMENU h);
    MenuItem* findByName(const std::wstring& name);
    MenuItem* findByShortcut(WORD sc);

private:
    friend class Menu;
    std::vector<std::unique_ptr<MenuItem>> items_;
    UINT id_ = 0;
    HMENU submenu_ = nullptr;
    void ensureHandle(bool bar);
};

class Menu {
public:
    enum Kind { Bar, Popup };
    explicit Menu(Kind kind);
    MenuItem& root() { return *root_; }
    Kind kind() const { return kind_; }

    // Menu bar: attaches to (or detaches from) a window, rebuilt from the tree.
    void attach(HWND hwnd);
    void refresh();
    // Pop-up: shows the menu with its top-left corner at a screen point and
    // runs the chosen item's handler.
    void popup(HWND owner, int x, int y);

    bool dispatchCommand(UINT id);
    bool dispatchShortcut(WORD sc);
    bool initPopup(HMENU h);
    MenuItem* find(const std::wstring& name) { return root_->findByName(name); }

private:
    Kind kind_;
    std::unique_ptr<MenuItem> root_;
    HWND attached_ = nullptr;
};

// Shortcut word → the text shown in menus, e.g. "Shift+Ctrl+C".
std::wstring shortcutDisplayText(WORD shortcut);

}  // namespace tk
