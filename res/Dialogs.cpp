// Dialog templates in dialog units of 굴림 9 pt. Items are listed in tab order; statics that
// carry no id use -1. Items without WS_VISIBLE stay hidden until the code shows them.
#include "res/Dialogs.h"

#include "platform/window/Controls.h"
#include "platform/window/WindowStyles.h"

namespace ostrana {
namespace {

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kText = kVisible | SS_LEFT;
constexpr DWORD kModal = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kChild = DS_SETFONT | DS_CONTROL | WS_CHILD;
constexpr const char* kFont = "굴림";

// 107: the login panel, a child of the main window.
constexpr DialogItemResource kLogin[] = {
    {"Static", "서버주소 :", -1, kText, 0, 10, 14, 40, 9},
    {"ComboBox", "", 1019, kVisible | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 52, 12, 87, 80},
    {"Static", "아 이 디 :", -1, kText, 0, 10, 34, 40, 9},
    {"ComboBox", "", 1001, kVisible | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 52, 32, 87, 80},
    {"Static", "비밀번호 :", -1, kText, 0, 10, 54, 40, 9},
    {"Edit", "", 1002, kVisible | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0, 52, 52, 87, 12},
    {"Button", "LOGIN_", 1004, kVisible | BS_OWNERDRAW | WS_TABSTOP, 0, 52, 70, 40, 16},
    {"Static", "", -1, WS_CHILD | SS_ETCHEDHORZ, 0, 10, 94, 129, 1},
    {"Button", "비밀번호를 저장합니다.", 1007, WS_CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 98, 129, 10},
    {"Button", "로그인한 아이디를 저장합니다.", 1008, WS_CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 110, 129, 10},
    {"Static", "아이디가 없으십니까 ?", 1014, WS_CHILD | SS_LEFT | SS_NOTIFY, 0, 10, 123, 129, 9},
    {"Static", "아이디와 비밀번호를 분실하셨습니까 ?", 1016, WS_CHILD | SS_LEFT | SS_NOTIFY, 0, 10, 135, 129, 9},
};

// 203: the main window. Only the logo starts visible; the rest is laid out again at run time.
constexpr DWORD kBitmap = WS_CHILD | SS_BITMAP;
constexpr DWORD kPlaceholder = WS_CHILD | SS_LEFT | WS_BORDER;
constexpr DWORD kBitmapButton = WS_CHILD | BS_OWNERDRAW | WS_TABSTOP;
constexpr DialogItemResource kMain[] = {
    {"Static", "#204", 228, kVisible | SS_BITMAP, 0, 5, 4, 80, 27},
    {"Static", "#213", 227, kBitmap, 0, 100, 8, 20, 6},
    {"Static", "", 223, WS_CHILD | SS_LEFT, 0, 124, 7, 120, 9},
    {"Static", "#215", 226, kBitmap, 0, 100, 20, 23, 6},
    {"Static", "", 225, WS_CHILD | SS_LEFT, 0, 124, 19, 60, 9},
    {"Static", "#208", 224, kBitmap, 0, 260, 10, 135, 7},
    {"Static", "#220", 221, kBitmap, 0, 261, 11, 133, 6},
    {"Static", "사  용  량 :\n남은 용량 :", 219, WS_CHILD | SS_LEFT, 0, 240, 30, 155, 18},
    {"Button", "", 233, WS_CHILD | BS_GROUPBOX, 0, 5, 50, 230, 20},
    {"Static", "#221", 230, kBitmap, 0, 10, 59, 20, 6},
    {"Static", "개인 공간이 할당되어 있지 않습니다.", 222, WS_CHILD | SS_LEFT, 0, 34, 58, 196, 9},
    {"Button", "", 234, WS_CHILD | BS_GROUPBOX, 0, 245, 50, 150, 20},
    {"Button", "ADDFOLDER_", 249, kBitmapButton, 0, 250, 55, 11, 11},
    {"Button", "UPFOLDER_", 247, kBitmapButton, 0, 270, 55, 11, 11},
    {"Button", "NEWFOLDER_", 248, kBitmapButton, 0, 289, 55, 11, 11},
    {"Button", "UP_", 245, kBitmapButton, 0, 310, 54, 40, 13},
    {"Button", "DOWN_", 246, kBitmapButton, 0, 353, 54, 40, 13},
    {"Static", "", 214, kPlaceholder, 0, 5, 75, 120, 150},
    {"Static", "", 216, kPlaceholder, 0, 130, 75, 265, 150},
    {"Static", "", 207, kPlaceholder, 0, 5, 232, 120, 163},
    {"Static", "", 212, kPlaceholder, 0, 130, 232, 265, 163},
};

// 233: the overwrite prompt.
constexpr DialogItemResource kOverwrite[] = {
    {"Static", "#225", -1, kVisible | SS_ICON, 0, 7, 7, 21, 20},
    {"Static", "다음과 같은 폴더에 같은 이름의 파일이 이미 존재합니다.", -1, kText, 0, 36, 10, 228, 9},
    {"Static", "복사할 폴더명 :", -1, kText, 0, 36, 25, 80, 9},
    {"Edit", "", 237, kVisible | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 36, 36, 228, 22},
    {"Static", "기존 파일을", -1, kText, 0, 36, 66, 120, 9},
    {"Static", "", 244, kText, 0, 36, 78, 21, 20},
    {"Static", "", 241, kText | SS_NOPREFIX, 0, 64, 78, 200, 9},
    {"Static", "", 242, kText, 0, 64, 88, 200, 9},
    {"Static", "", 243, kText, 0, 64, 98, 200, 9},
    {"Static", "이 파일을 바꾸시겠습니까 ?", -1, kText, 0, 36, 115, 150, 9},
    {"Static", "", 245, kText, 0, 36, 127, 21, 20},
    {"Static", "", 238, kText | SS_NOPREFIX, 0, 64, 127, 200, 9},
    {"Static", "", 239, kText, 0, 64, 137, 200, 9},
    {"Static", "", 240, kText, 0, 64, 147, 200, 9},
    {"Button", "항상 물어보기", 234, kVisible | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 36, 165, 72, 10},
    {"Button", "항상 겹쳐 쓰기", 235, kVisible | BS_AUTORADIOBUTTON, 0, 112, 165, 72, 10},
    {"Button", "항상 건너뛰기", 236, kVisible | BS_AUTORADIOBUTTON, 0, 188, 165, 72, 10},
    {"Button", "예", 1, kVisible | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 157, 184, 50, 14},
    {"Button", "아니오", 2, kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 214, 184, 50, 14},
};

// 234: registering a server folder.
constexpr DialogItemResource kAddFolder[] = {
    {"Static", "#243", -1, kVisible | SS_BITMAP, 0, 7, 7, 21, 20},
    {"Static", "□  동호회 공유폴더, 공유폴더, 자주쓰는 웹 폴더 등을  루트에 생성하여 사용합니다. ", -1, kText, 0, 36, 12,
     280, 18},
    {"Static", "", -1, kVisible | SS_ETCHEDHORZ, 0, 7, 32, 309, 1},
    {"Static", "○ 등록한 폴더에 대한 접근권한이 있을때만 등록됩니다.", -1, kText, 0, 36, 40, 280, 9},
    {"Static", "○ 등록된 폴더 정보는 클라이언트에 저장됩니다.", -1, kText, 0, 36, 52, 280, 9},
    {"Static", "폴더 입력예 : @game/html/  ->  동호회아이디 game 의 html 폴더 지정", -1, kText, 0, 36, 68, 280, 9},
    {"Static", "myfolder/favorite/  ->  자신의 favorite 폴더를 루트에 지정", -1, kText, 0, 78, 80, 238, 9},
    {"Edit", "", 247, kVisible | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 36, 100, 280, 13},
    {"Static", "", -1, kVisible | SS_ETCHEDHORZ, 0, 7, 126, 309, 1},
    {"Button", "등록하기", 1, kVisible | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 206, 146, 52, 15},
    {"Button", "취소", 2, kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 264, 146, 52, 15},
};

constexpr DialogResource kDialogs[] = {
    {107, "", kChild | WS_VISIBLE, 0, 0, 0, 149, 148, kFont, 9, kLogin},
    {202, "", kChild, 0, 0, 0, 196, 94, kFont, 9, {}},
    {203, "", kChild, 0, 0, 0, 400, 400, kFont, 9, kMain},
    {233, "파일 바꾸기 확인", kModal, 0, 0, 0, 271, 205, kFont, 9, kOverwrite},
    {234, "웹 폴더 추가하기", kModal, 0, 0, 0, 323, 171, kFont, 9, kAddFolder},
};

} // namespace

std::span<const DialogResource> OstranaDialogs() { return kDialogs; }

} // namespace ostrana
