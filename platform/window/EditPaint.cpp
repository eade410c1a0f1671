// How the edit control draws itself: its background from WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when
// read-only or disabled), the text (masked for passwords) and the selection; and where its caret
// goes, laid out as the text is painted (the caret itself is the platform's, not in the picture).
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/TextLayout.h"
#include "platform/window/EditControl.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

constexpr int kMargin = 1;

std::string Shown(const EditData& data, const std::string& text) {
    if (data.passwordChar == 0) return text;
    std::string masked;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) masked += data.passwordChar;
    return masked;
}

int WidthOf(const EditData& data, const FontMetric& metric, std::string_view text) {
    return TextWidth(metric, Shown(data, std::string(text)));
}

// Horizontal scroll of a single line so that the caret stays inside the client area.
int ScrollOffset(const EditData& data, const FontMetric& metric, const RECT& client) {
    int caretX = WidthOf(data, metric, std::string_view(data.model.Text()).substr(0, data.model.Caret()));
    int visible = Width(client) - 2 * kMargin - 1;
    return caretX > visible ? caretX - visible : 0;
}

void PaintSingleLine(HWND edit, EditData& data, HDC dc, const RECT& client, const FontMetric& metric) {
    const std::string& text = data.model.Text();
    auto [first, second] = data.focused ? data.model.Selection() : std::pair<std::size_t, std::size_t>{0, 0};
    int x = kMargin - ScrollOffset(data, metric, client);
    int y = kMargin;
    std::string before = Shown(data, text.substr(0, first));
    std::string selected = Shown(data, text.substr(first, second - first));
    std::string after = Shown(data, text.substr(second));
    SetBkMode(dc, TRANSPARENT);
    if (!before.empty()) TextOutA(dc, x, y, before.c_str(), static_cast<int>(before.size()));
    x += TextWidth(metric, before);
    if (!selected.empty()) {
        COLORREF color = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        TextOutA(dc, x, y, selected.c_str(), static_cast<int>(selected.size()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, color);
        x += TextWidth(metric, selected);
    }
    if (!after.empty()) TextOutA(dc, x, y, after.c_str(), static_cast<int>(after.size()));
    (void)edit;
}

UINT MultiLineFormat(HWND edit) {
    UINT format = DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS;
    if (!(GetWindowLongPtrA(edit, GWL_STYLE) & ES_AUTOHSCROLL)) format |= DT_WORDBREAK;
    return format;
}

// Where each painted row of one paragraph (a line without its CR LF) starts in it: the painter
// drops the blanks at a break, so each row's text is found again after them.
std::vector<std::size_t> RowStarts(const std::string& paragraph, const RECT& area, UINT format, const FontMetric& metric) {
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    for (const TextLine& row : LayoutText(paragraph, area, format, metric).lines) {
        while (!starts.empty() && pos < paragraph.size() && paragraph[pos] == ' ' &&
               paragraph.compare(pos, row.text.size(), row.text) != 0) {
            ++pos;
        }
        starts.push_back(pos);
        pos += row.text.size();
    }
    if (starts.empty()) starts.push_back(0);
    return starts;
}

POINT MultiLineCaret(HWND edit, const EditData& data, const RECT& client, const FontMetric& metric) {
    RECT area = client;
    InflateRect(&area, -kMargin, -kMargin);
    UINT format = MultiLineFormat(edit);
    const EditModel& model = data.model;
    std::size_t caretLine = model.LineOf(model.Caret());
    int row = 0;
    for (std::size_t line = 0;; ++line) {
        std::size_t start = model.LineIndex(line);
        std::string paragraph = model.Text().substr(start, model.LineLength(start));
        std::vector<std::size_t> starts = RowStarts(paragraph, area, format, metric);
        if (line < caretLine) {
            row += static_cast<int>(starts.size());
            continue;
        }
        std::size_t column = std::min(model.Caret() - start, paragraph.size());
        std::size_t within = 0;
        while (within + 1 < starts.size() && starts[within + 1] <= column) ++within;
        int x = TextWidth(metric, std::string_view(paragraph).substr(starts[within], column - starts[within]));
        return POINT{area.left + x, area.top + (row + static_cast<int>(within)) * metric.height};
    }
}

void PaintMultiLine(HWND edit, EditData& data, HDC dc, const RECT& client) {
    std::string text;
    for (char c : data.model.Text()) {
        if (c != '\r') text += c;
    }
    RECT area = client;
    InflateRect(&area, -kMargin, -kMargin);
    UINT format = MultiLineFormat(edit);
    SetBkMode(dc, TRANSPARENT);
    text = Shown(data, text);
    DrawTextA(dc, text.c_str(), -1, &area, format);
}

} // namespace

void PaintEdit(HWND edit, EditData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(edit, &paint);
    RECT client;
    GetClientRect(edit, &client);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE));
    bool passive = (style & ES_READONLY) || !IsWindowEnabled(edit);
    HBRUSH brush = ControlColors(edit, dc, passive ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    if (brush != nullptr) FillRect(dc, &client, brush);
    SelectControlFont(dc, data);
    if (!IsWindowEnabled(edit)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    if (style & ES_MULTILINE) PaintMultiLine(edit, data, dc, client);
    else PaintSingleLine(edit, data, dc, client, MetricOf(SelectedFont(dc)));
    EndPaint(edit, &paint);
}

FontMetric EditMetric(const EditData& data) {
    FontInfo font = DefaultGuiFont();
    if (data.font != nullptr) font = FontOf(data.font).value_or(font);
    return MetricOf(font);
}

POINT EditCaretPoint(HWND edit, const EditData& data) {
    FontMetric metric = EditMetric(data);
    RECT client;
    GetClientRect(edit, &client);
    if (GetWindowLongPtrA(edit, GWL_STYLE) & ES_MULTILINE) return MultiLineCaret(edit, data, client, metric);
    std::string_view before = std::string_view(data.model.Text()).substr(0, data.model.Caret());
    return POINT{kMargin - ScrollOffset(data, metric, client) + WidthOf(data, metric, before), kMargin};
}

std::size_t EditOffsetAt(HWND edit, EditData& data, POINT point) {
    FontMetric metric = EditMetric(data);
    RECT client;
    GetClientRect(edit, &client);
    int x = point.x - kMargin + ScrollOffset(data, metric, client);
    const std::string& text = data.model.Text();
    std::size_t line = 0;
    if (data.model.LineCount() > 1) line = std::min<std::size_t>(static_cast<std::size_t>(std::max<LONG>(0, point.y / metric.height)), data.model.LineCount() - 1);
    std::size_t start = data.model.LineIndex(line);
    std::size_t end = start + data.model.LineLength(start);
    std::size_t pos = start;
    while (pos < end) {
        std::size_t next = data.model.CharEndAfter(pos);
        int middle = (WidthOf(data, metric, std::string_view(text).substr(start, pos - start)) +
                      WidthOf(data, metric, std::string_view(text).substr(start, next - start))) / 2;
        if (x < middle) break;
        pos = next;
    }
    return pos;
}

} // namespace ostrana::detail
