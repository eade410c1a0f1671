// The combo box's state, shared by the box and its drop-down list. Internal to platform/window.
#pragma once

#include <string>
#include <vector>

#include "platform/window/ControlCommon.h"

namespace ostrana::detail {

struct ComboItem {
    std::string text;
    LPARAM data = 0;
};

struct ComboData : ControlBase {
    std::vector<ComboItem> items;
    int current = -1;
    int hot = -1;           // highlighted row of the open list
    HWND edit = nullptr;    // drop-down and simple styles
    HWND list = nullptr;    // the open drop-down list, a top-level window
    int droppedHeight = 0;  // the height the template gave: box and list together
    WNDPROC editProcedure = nullptr;
    bool settingText = false; // the box itself is changing the edit: no CBN_EDITCHANGE
};

constexpr int kComboButtonWidth = 17;
constexpr int kComboEditId = 1001;

std::shared_ptr<ComboData> ComboDataOf(HWND combo);
void OpenComboList(HWND combo, ComboData& data);
// Closes the list; `accept` makes the highlighted row the selection.
void CloseComboList(HWND combo, ComboData& data, bool accept);
// Selects a row as the user does: the text follows, CBN_SELCHANGE is sent.
void ChooseComboItem(HWND combo, ComboData& data, int index);
int ComboItemHeight(const ComboData& data);
void RegisterComboListClass();

} // namespace ostrana::detail
