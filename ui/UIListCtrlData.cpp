#include "ui/UIListCtrlData.h"

#include <algorithm>

#include "platform/base/InvalidArgException.h"
#include "platform/gdi/SysColors.h"

IMPLEMENT_DYNAMIC(CUIListCtrlData, CObject)
IMPLEMENT_DYNAMIC(CUIStrListCtrlData, CUIListCtrlData)

namespace {
constexpr int kMinimumColumns = 50;
}

CUIListCtrlData::CUIListCtrlData(int columnCount) : m_columnCount(std::max(columnCount, 0)) {}

CUIListCtrlData::~CUIListCtrlData() = default;

void CUIListCtrlData::CheckColumn(int column) const {
    if (column < 0 || column >= std::max(m_columnCount, kMinimumColumns)) throw CInvalidArgException();
}

CUIListCtrlData::ColumnStyle& CUIListCtrlData::Style(int column) {
    CheckColumn(column);
    if (m_styles.empty()) {
        m_styles.resize(static_cast<std::size_t>(std::max(m_columnCount, kMinimumColumns)));
        for (ColumnStyle& style : m_styles) {
            style.text = GetSysColor(COLOR_WINDOWTEXT);
            style.background = GetSysColor(COLOR_WINDOW);
        }
    }
    return m_styles[static_cast<std::size_t>(column)];
}

const CUIListCtrlData::ColumnStyle* CUIListCtrlData::FindStyle(int column) const {
    CheckColumn(column);
    return m_styles.empty() ? nullptr : &m_styles[static_cast<std::size_t>(column)];
}

COLORREF CUIListCtrlData::GetTextColor(int column) const {
    const ColumnStyle* style = FindStyle(column);
    return style != nullptr ? style->text : GetSysColor(COLOR_WINDOWTEXT);
}

COLORREF CUIListCtrlData::GetBkColor(int column) const {
    const ColumnStyle* style = FindStyle(column);
    return style != nullptr ? style->background : GetSysColor(COLOR_WINDOW);
}

void CUIListCtrlData::SetTextColor(int column, COLORREF color) {
    Style(column).text = color;
    m_ownColors = true;
}

void CUIListCtrlData::SetBkColor(int column, COLORREF color) {
    Style(column).background = color;
    m_ownColors = true;
}

CFont* CUIListCtrlData::GetFont(int column) const {
    const ColumnStyle* style = FindStyle(column);
    return style != nullptr ? style->font.get() : nullptr;
}

void CUIListCtrlData::SetFont(int column, const LOGFONTA& font) {
    auto made = std::make_unique<CFont>();
    made->CreateFontIndirect(&font);
    Style(column).font = std::move(made);
}

CObject* CUIListCtrlData::GetObject(int column) const {
    const ColumnStyle* style = FindStyle(column);
    return style != nullptr ? style->object.get() : nullptr;
}

void CUIListCtrlData::SetObject(int column, std::unique_ptr<CObject> object) { Style(column).object = std::move(object); }

CUIStrListCtrlData::CUIStrListCtrlData(int columnCount)
    : CUIListCtrlData(columnCount), m_strings(static_cast<std::size_t>(std::max(columnCount, 0))) {}

void CUIStrListCtrlData::CheckTextColumn(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= m_strings.size()) throw CInvalidArgException();
}

const std::string& CUIStrListCtrlData::GetString(int column) const {
    CheckTextColumn(column);
    return m_strings[static_cast<std::size_t>(column)];
}

void CUIStrListCtrlData::SetString(int column, std::string text) {
    CheckTextColumn(column);
    m_strings[static_cast<std::size_t>(column)] = std::move(text);
}
