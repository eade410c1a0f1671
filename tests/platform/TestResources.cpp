#include "tests/platform/TestResources.h"

#include "platform/window/Controls.h"
#include "platform/window/Menu.h"
#include "platform/window/WindowStyles.h"

namespace ostrana::test {
namespace {

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kText = kVisible | SS_LEFT;
constexpr DWORD kModal = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kChild = DS_SETFONT | DS_CONTROL | WS_CHILD;
constexpr const char* kFont = "굴림";

// A child panel: two combo boxes, a password edit, an owner-drawn button and check boxes.
constexpr DialogItemResource kPanel[] = {
    {"Static", "주소 :", -1, kText, 0, 10, 14, 40, 9},
    {"ComboBox", "", 1019, kVisible | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 52, 12, 87, 80},
    {"Static", "이름 :", -1, kText, 0, 10, 34, 40, 9},
    {"ComboBox", "", 1001, kVisible | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 52, 32, 87, 80},
    {"Static", "암호 :", -1, kText, 0, 10, 54, 40, 9},
    {"Edit", "", 1002, kVisible | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0, 52, 52, 87, 12},
    {"Button", "GO_", 1004, kVisible | BS_OWNERDRAW | WS_TABSTOP, 0, 52, 70, 40, 16},
    {"Button", "암호 기억", 1007, WS_CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 98, 129, 10},
    {"Button", "이름 기억", 1008, WS_CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 110, 129, 10},
};

// Bitmap buttons that take their four bitmaps from the caption.
constexpr DWORD kBitmapButton = WS_CHILD | BS_OWNERDRAW | WS_TABSTOP;
constexpr DialogItemResource kButtons[] = {
    {"Static", "#204", 228, kVisible | SS_BITMAP, 0, 5, 4, 80, 27},
    {"Button", "UP_", 245, kBitmapButton, 0, 310, 54, 40, 13},
    {"Button", "DOWN_", 246, kBitmapButton, 0, 353, 54, 40, 13},
};

// A modal prompt: an icon, texts, a read-only edit, a radio group of three and Yes/No.
constexpr DialogItemResource kChoice[] = {
    {"Static", "#225", -1, kVisible | SS_ICON, 0, 7, 7, 21, 20},
    {"Static", "같은 이름의 항목이 있습니다.", -1, kText, 0, 36, 10, 228, 9},
    {"Edit", "", 237, kVisible | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 36, 36, 228, 22},
    {"Static", "", 241, kText | SS_NOPREFIX, 0, 64, 78, 200, 9},
    {"Button", "묻기", 234, kVisible | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 36, 165, 72, 10},
    {"Button", "바꾸기", 235, kVisible | BS_AUTORADIOBUTTON, 0, 112, 165, 72, 10},
    {"Button", "건너뛰기", 236, kVisible | BS_AUTORADIOBUTTON, 0, 188, 165, 72, 10},
    {"Button", "예", 1, kVisible | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 157, 184, 50, 14},
    {"Button", "아니오", 2, kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 214, 184, 50, 14},
};

// An entry dialog: a text, an edit and OK/Cancel.
constexpr DialogItemResource kEntry[] = {
    {"Static", "이름을 넣으십시오.", -1, kText, 0, 36, 12, 280, 9},
    {"Edit", "", 247, kVisible | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 36, 100, 280, 13},
    {"Button", "확인", 1, kVisible | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 206, 146, 52, 15},
    {"Button", "취소", 2, kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 264, 146, 52, 15},
};

constexpr DialogResource kDialogs[] = {
    {IDD_TEST_PANEL, "", kChild | WS_VISIBLE, 0, 0, 0, 149, 148, kFont, 9, kPanel},
    {IDD_TEST_BUTTONS, "", kChild, 0, 0, 0, 400, 400, kFont, 9, kButtons},
    {IDD_TEST_CHOICE, "바꾸기 확인", kModal, 0, 0, 0, 271, 205, kFont, 9, kChoice},
    {IDD_TEST_ENTRY, "이름 넣기", kModal, 0, 0, 0, 323, 171, kFont, 9, kEntry},
};

constexpr MenuItemResource kSeparator = {1, "", 0, MF_SEPARATOR};

// Six items and three separators, then a submenu whose fourth item is 42773.
constexpr MenuItemResource kListMenu[] = {
    {0, "목록", 0, MF_POPUP},
    {1, "위로", 32785, 0},
    kSeparator,
    {1, "올리기", 32774, 0},
    {1, "내리기", 32773, 0},
    kSeparator,
    {1, "새로", 32778, 0},
    {1, "이름(F2)", 32777, 0},
    {1, "삭제(&Delete)", 32781, 0},
    kSeparator,
    {1, "보기", 0, MF_POPUP},
    {2, "큰 그림", 42771, 0},
    {2, "그림", 42772, 0},
    {2, "간단히", 42774, 0},
    {2, "자세히", 42773, 0},
    kSeparator,
    {1, "새로 읽기(F6)", 32784, 0},
};

constexpr MenuItemResource kDragMenu[] = {
    {0, "끌기", 0, MF_POPUP},
    {1, "&Move Here", 42768, 0},
    {1, "&Copy Here", 42769, 0},
    kSeparator,
    {1, "Cancel", 42770, 0},
};

constexpr MenuItemResource kTreeMenu[] = {
    {0, "나무", 0, MF_POPUP},
    {1, "여기로 올리기", 32779, 0},
    kSeparator,
    {1, "새로", 32778, 0},
    {1, "이름(F2)", 32777, 0},
    {1, "삭제(&Delete)", 32781, 0},
    kSeparator,
    {1, "나누기", 32901, 0},
    kSeparator,
    {1, "새로 읽기(F6)", 32784, 0},
};

constexpr MenuResource kMenus[] = {
    {IDR_TEST_LIST_MENU, kListMenu}, {IDR_TEST_DRAG_MENU, kDragMenu}, {IDR_TEST_TREE_MENU, kTreeMenu}};

constexpr ImageResource kImages[] = {
    {ImageKind::Bitmap, 0, "UP_U", "", 60, 20},     {ImageKind::Bitmap, 0, "UP_D", "", 60, 20},
    {ImageKind::Bitmap, 0, "UP_F", "", 60, 20},     {ImageKind::Bitmap, 0, "UP_X", "", 60, 20},
    {ImageKind::Bitmap, 0, "DOWN_U", "", 60, 20},   {ImageKind::Bitmap, 0, "DOWN_D", "", 60, 20},
    {ImageKind::Bitmap, 0, "DOWN_F", "", 60, 20},   {ImageKind::Bitmap, 0, "DOWN_X", "", 60, 20},
    {ImageKind::Bitmap, 0, "GO_U", "", 60, 24},     {ImageKind::Bitmap, 0, "GO_D", "", 60, 24},
    {ImageKind::Bitmap, 0, "GO_F", "", 60, 24},     {ImageKind::Bitmap, 0, "GO_X", "", 60, 24},
    {ImageKind::Bitmap, 204, nullptr, "", 120, 40}, {ImageKind::Icon, 225, nullptr, "", 32, 32},
};

} // namespace

HINSTANCE TestResourceHandle() {
    static ModuleResources module(ResourceTables{{}, kDialogs, kMenus, kImages});
    static const bool registered = [] {
        SetDefaultResourceModule(module.Handle());
        return true;
    }();
    (void)registered;
    return module.Handle();
}

} // namespace ostrana::test
