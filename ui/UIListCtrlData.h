// The record behind a toolkit list row or tree node: the owner's 32-bit user data, text and
// background colours, fonts and owned objects per column, and two flags. Column indexes reach
// max(column count, 50); the per-column storage is made when a column first gets a value, so a
// row that keeps the defaults costs no more than its header.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/window/AfxGdi.h"

class CUIListCtrlData : public CObject {
    DECLARE_DYNAMIC(CUIListCtrlData)

public:
    explicit CUIListCtrlData(int columnCount);
    ~CUIListCtrlData() override;
    CUIListCtrlData(const CUIListCtrlData&) = delete;
    CUIListCtrlData& operator=(const CUIListCtrlData&) = delete;

    int GetColumnCount() const { return m_columnCount; }
    DWORD_PTR GetExtData() const { return m_extData; }
    void SetExtData(DWORD_PTR data) { m_extData = data; }

    // Each raises CInvalidArgException for a column outside 0..max(column count, 50)-1.
    COLORREF GetTextColor(int column) const;
    COLORREF GetBkColor(int column) const;
    void SetTextColor(int column, COLORREF color);
    void SetBkColor(int column, COLORREF color);
    // Null when the column uses the control's font.
    CFont* GetFont(int column) const;
    void SetFont(int column, const LOGFONTA& font);
    CObject* GetObject(int column) const;
    void SetObject(int column, std::unique_ptr<CObject> object);

    bool IsDefaultColors() const { return !m_ownColors; }
    bool IsDeleted() const { return m_deleted; }
    void SetDeleted(bool deleted) { m_deleted = deleted; }
    // Cleared for records that only borrow their user data (the tree's free operation skips them).
    bool OwnsExtData() const { return m_ownsExtData; }
    void SetOwnsExtData(bool owns) { m_ownsExtData = owns; }

protected:
    void CheckColumn(int column) const;

private:
    struct ColumnStyle {
        COLORREF text;
        COLORREF background;
        std::unique_ptr<CFont> font;
        std::unique_ptr<CObject> object;
    };
    ColumnStyle& Style(int column);
    const ColumnStyle* FindStyle(int column) const;

    int m_columnCount;
    DWORD_PTR m_extData = 0;
    bool m_ownColors = false;
    bool m_deleted = false;
    bool m_ownsExtData = true;
    std::vector<ColumnStyle> m_styles; // empty until a column gets its own value
};

// A row that keeps its own column texts, one per column, and one extra text.
class CUIStrListCtrlData : public CUIListCtrlData {
    DECLARE_DYNAMIC(CUIStrListCtrlData)

public:
    explicit CUIStrListCtrlData(int columnCount);

    // Raise CInvalidArgException for a column outside 0..column count-1.
    const std::string& GetString(int column) const;
    void SetString(int column, std::string text);
    const std::string& GetExtString() const { return m_extString; }
    void SetExtString(std::string text) { m_extString = std::move(text); }

private:
    void CheckTextColumn(int column) const;
    std::vector<std::string> m_strings;
    std::string m_extString;
};
