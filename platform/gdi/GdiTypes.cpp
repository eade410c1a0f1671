#include "platform/gdi/GdiTypes.h"

#include <algorithm>

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT target, const RECT* source) {
    if (target == nullptr || source == nullptr) return FALSE;
    *target = *source;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top; }

BOOL IntersectRect(LPRECT target, const RECT* a, const RECT* b) {
    if (target == nullptr || a == nullptr || b == nullptr) return FALSE;
    RECT result{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&result)) {
        *target = RECT{};
        return FALSE;
    }
    *target = result;
    return TRUE;
}

BOOL UnionRect(LPRECT target, const RECT* a, const RECT* b) {
    if (target == nullptr || a == nullptr || b == nullptr) return FALSE;
    if (IsRectEmpty(a)) {
        *target = *b;
    } else if (IsRectEmpty(b)) {
        *target = *a;
    } else {
        *target = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                       std::max(a->bottom, b->bottom)};
    }
    return !IsRectEmpty(target);
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
           point.y < rect->bottom;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top && a->right == b->right &&
           a->bottom == b->bottom;
}

namespace ostrana {
std::string RectText(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom) + ")";
}
} // namespace ostrana
