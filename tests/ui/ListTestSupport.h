// A framework parent window and a toolkit list on it for the list tests: the parent records the
// drag-and-drop messages and commands that reach it and answers them as a test asks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window/AfxWinApp.h"
#include "tests/support/TempDir.h"
#include "ui/UIODListCtrl.h"

namespace ostrana::test {

class RecordingParent : public CWnd {
public:
    explicit RecordingParent(RECT screen);
    std::vector<std::string> Take();
    std::function<LRESULT(UINT, WPARAM, LPARAM)> answer;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::string> m_record;
};

// A list that records what reaches its virtual operations.
class RecordingList : public CUIODListCtrl {
public:
    explicit RecordingList(bool oleDragDrop = false) : CUIODListCtrl(oleDragDrop) {}
    std::vector<std::string> log;
    std::function<BOOL(int, CUIListCtrlData*)> acceptDelete = [](int, CUIListCtrlData*) { return FALSE; };
    LRESULT dragAnswer = 0;

    using CUIODListCtrl::CompareItems;

protected:
    void ShowHeaderMenu(int column, POINT) override { log.push_back("header menu " + std::to_string(column)); }
    void ShowContextMenu(int row, int column, POINT) override {
        log.push_back("context menu " + std::to_string(row) + " " + std::to_string(column));
    }
    void ActivateRow(int row) override { log.push_back("activate " + std::to_string(row)); }
    void Refresh() override { log.push_back("refresh"); }
    BOOL AcceptDelete(int row, CUIListCtrlData* data) override { return acceptDelete(row, data); }
    void ShowProperties(int row) override { log.push_back("properties " + std::to_string(row)); }
    LRESULT DragEnter(CDD_OleDropTargetInfo*) override { log.push_back("drag enter"); return dragAnswer; }
    LRESULT DragOver(CDD_OleDropTargetInfo*) override { log.push_back("drag over"); return dragAnswer; }
    LRESULT DragLeave(CDD_OleDropTargetInfo*) override { log.push_back("drag leave"); return dragAnswer; }
    LRESULT Drop(CDD_OleDropTargetInfo*) override { log.push_back("drop"); return dragAnswer; }
    DROPEFFECT FillDataSource(COleDataSource*) override { log.push_back("fill"); return static_cast<DROPEFFECT>(dragAnswer); }
    BOOL GetDispInfo(LVITEMA* item) override;
};

// The application object with the control module's key, over a temporary registry file.
struct ProfileFixture {
    ScopedRegistryFile registry;
    CWinApp app{"Ostrana"};
    ProfileFixture() { app.SetRegistryKey("Zelkor"); }
};

inline constexpr RECT kParentRect{100, 100, 500, 400};
inline constexpr int kHeaderHeight = 20;
inline constexpr int kRowHeight = 18;

// Creates `list` as a visible report view of 300 x 200 pixels at the parent's origin.
bool CreateList(CUIODListCtrl& list, CWnd& parent, DWORD style = LVS_REPORT);
// Screen point inside column header `column` of a list with 100-pixel columns.
POINT HeaderPoint(int column);

} // namespace ostrana::test
