// The outline of dragged list rows: one icon and label rectangle per row, read from the
// drag-image block that the source list puts into the data object. It is drawn in R2_NOT, so
// drawing it a second time at the same place removes it again.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/ole/OleDataObject.h"
#include "platform/window/AfxWnd.h"

class CDragDropImage : public CCmdTarget {
    DECLARE_DYNAMIC(CDragDropImage)

public:
    struct Row {
        RECT icon;
        RECT label;
    };

    CDragDropImage(int viewType, std::vector<Row> rows, POINT start);

    // Null when the block is short or its view type is outside 0..3.
    static std::unique_ptr<CDragDropImage> FromBlock(const BYTE* block, std::size_t size);
    static std::unique_ptr<CDragDropImage> FromDataObject(COleDataObject* dataObject);
    // The clipboard format of the block, "APP_CF_DD_LISTCTRL_IMAGE".
    static CLIPFORMAT BlockFormat();

    int GetViewType() const { return m_viewType; }
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    const std::vector<Row>& GetRows() const { return m_rows; }
    POINT GetStartPoint() const { return m_start; }
    // Draws (or, drawn again, erases) the outline moved by `point` minus the start point.
    void Draw(HDC dc, POINT point) const;

private:
    int m_viewType;
    std::vector<Row> m_rows;
    POINT m_start;
};

// Follows an OLE drag over one target window: shows the outline at the cursor, moves it and
// removes it when the drag leaves or drops.
class CDragImageTracker {
public:
    void Enter(HWND target, COleDataObject* dataObject, POINT point);
    void Move(HWND target, POINT point);
    void Leave(HWND target);
    bool IsShown() const { return m_image != nullptr && m_drawnAt.x != kNotDrawn; }

private:
    static constexpr int kNotDrawn = -32000;
    void DrawAt(HWND target, POINT point);

    std::unique_ptr<CDragDropImage> m_image;
    POINT m_drawnAt{kNotDrawn, kNotDrawn};
};
