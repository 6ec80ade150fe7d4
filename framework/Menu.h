// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

// A menu held as a list of items, shown as a pop-up on demand.
class CMenu {
public:
    // Appends a text item (MF_STRING) or a separator (MF_SEPARATOR) at the end.
    // A text item needs a text; returns false and appends nothing without one.
    bool AppendMenu(unsigned flags, unsigned id = 0, const char* text = nullptr);

    // A pop-up menu of the items, a child of parent that deletes itself when
    // closed; choosing a text item calls choose with its command.
    QMenu* BuildPopup(QWidget* parent, std::function<void(unsigned)> choose) const;

    // Adds the items at the end of a pop-up menu that exists, with choose
    // called as in BuildPopup.
    void AppendTo(QMenu* popup, const std::function<void(unsigned)>& choose) const;

private:
    struct Item {
        unsigned flags;
        unsigned id;
        std::string text;
    };
    std::vector<Item> m_items;
};
