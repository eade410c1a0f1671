// Context menus. Each menu has one pop-up whose items follow it one level deeper.
#include "res/Menus.h"

#include "platform/window/Menu.h"

namespace ostrana {
namespace {

constexpr MenuItemResource kSeparator1 = {1, "", 0, MF_SEPARATOR};

// The list view's view and option commands, shared by the list menus.
#define OSTRANA_LIST_VIEW_ITEMS(level)                                      \
    {level, "보기", 0, MF_POPUP}, {level + 1, "큰아이콘", 42771, 0},        \
        {level + 1, "아이콘", 42772, 0}, {level + 1, "간단히", 42774, 0},   \
        {level + 1, "자세히", 42773, 0}, {level, "", 0, MF_SEPARATOR},      \
        {level, "리스트 격자선 보이기", 42775, 0}, {level, "핫 트래킹", 42780, 0}, \
        {level, "전체라인 선택으로 보이기", 42779, 0}, {level, "헤더 크기 조절 가능", 42781, 0}, \
        {level, "헤더 순서 변경 가능", 42778, 0}

constexpr MenuItemResource kServerList[] = {
    {0, "서버메뉴", 0, MF_POPUP},
    {1, "상위폴더", 32785, 0},
    kSeparator1,
    {1, "파일 올리기", 32774, 0},
    {1, "파일 내려받기", 32773, 0},
    kSeparator1,
    {1, "새 폴더", 32778, 0},
    {1, "이름변경(F2)", 32777, 0},
    {1, "삭제(&Delete)", 32781, 0},
    kSeparator1,
    OSTRANA_LIST_VIEW_ITEMS(1),
    kSeparator1,
    {1, "새로고침(F6)", 32784, 0},
};

constexpr MenuItemResource kList[] = {
    {0, "리스트메뉴", 0, MF_POPUP},
    {1, "상위폴더", 32801, 0},
    {1, "새 폴더", 32800, 0},
    kSeparator1,
    OSTRANA_LIST_VIEW_ITEMS(1),
    kSeparator1,
    {1, "새로고침(F6)", 32802, 0},
};

constexpr MenuItemResource kHeader[] = {
    {0, "헤더메뉴", 0, MF_POPUP},
    {1, "&Delete", 42782, 0},
    {1, "&Rename", 42783, 0},
    kSeparator1,
    {1, "Reset &Header", 42784, 0},
};

constexpr MenuItemResource kDrag[] = {
    {0, "끌어놓기", 0, MF_POPUP},
    {1, "&Move Here", 42768, 0},
    {1, "&Copy Here", 42769, 0},
    kSeparator1,
    {1, "Cancel", 42770, 0},
};

constexpr MenuItemResource kServerTree[] = {
    {0, "서버메뉴", 0, MF_POPUP},
    {1, "여기로 파일 올리기", 32779, 0},
    kSeparator1,
    {1, "새 폴더", 32778, 0},
    {1, "이름변경(F2)", 32777, 0},
    {1, "삭제(&Delete)", 32781, 0},
    kSeparator1,
    {1, "공유 설정", 32901, 0},
    kSeparator1,
    {1, "새로고침(F6)", 32784, 0},
};

#undef OSTRANA_LIST_VIEW_ITEMS

constexpr MenuResource kMenus[] = {
    {110, kServerList}, {206, kList}, {211, kHeader}, {218, kDrag}, {219, kServerTree},
};

} // namespace

std::span<const MenuResource> OstranaMenus() { return kMenus; }

} // namespace ostrana
