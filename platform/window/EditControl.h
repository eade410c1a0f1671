// The edit control's state, shared by its input and paint halves. Internal to platform/window.
#pragma once

#include "platform/window/ControlCommon.h"
#include "platform/gdi/TextMetric.h"
#include "platform/window/EditModel.h"

namespace ostrana::detail {

struct EditData : ControlBase {
    EditModel model;
    bool focused = false;
    bool modified = false;
    char passwordChar = 0;
    char pendingLead = 0; // first byte of a double-byte character typed as two WM_CHARs
};

void PaintEdit(HWND edit, EditData& data);
FontMetric EditMetric(const EditData& data);
// Where the caret's top-left corner belongs, in client coordinates.
POINT EditCaretPoint(HWND edit, const EditData& data);
// The byte offset nearest to a client point (single line).
std::size_t EditOffsetAt(HWND edit, EditData& data, POINT point);

} // namespace ostrana::detail
