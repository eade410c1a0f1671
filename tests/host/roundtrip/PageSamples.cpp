// The container's messages as the running container writes them: the snapshot writer for the
// window tree, pictures, images, cursor, caret, focus and order, the frame batcher for the frame's
// end, the message writer for the rest. The expectations are written out by hand, so an encoder
// that drops, renames, swaps or mangles a field shows up on the page's side.
#include "tests/host/roundtrip/PageSamples.h"

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>

#include "host/FrameBatcher.h"
#include "host/HostProtocol.h"
#include "host/MessageWriter.h"
#include "host/SnapshotWriter.h"
#include "host/ViewRows.h"
#include "platform/base/CodePage.h"
#include "platform/controls/CommCtrl.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Controls.h"
#include "platform/window/Messages.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::host::roundtrip {

namespace {

using Json = nlohmann::json;

// Windows the views' rows are not asked of need no platform window behind them.
HWND Fake(std::uintptr_t number)
{
    return reinterpret_cast<HWND>(number);
}

long long Number(HWND window)
{
    return static_cast<long long>(reinterpret_cast<std::uintptr_t>(window));
}

Json Expect(const char* kind, Json fields)
{
    return Json{{"kind", kind}, {"fields", std::move(fields)}};
}

Json ExpectOp(const char* name, Json fields)
{
    fields["op"] = name;
    return fields;
}

LRESULT Plain(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The real list and tree views whose rows the treeChange messages carry.
struct Views {
    HWND holder = nullptr;
    HWND list = nullptr;
    HWND tree = nullptr;
};

void AddColumn(HWND list, int index, const char* utf8, int width)
{
    std::string title = Utf8ToAnsi(utf8);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title.data();
    column.cx = width;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void AddRow(HWND list, int index, const char* nameUtf8, const char* sizeUtf8, UINT state)
{
    std::string name = Utf8ToAnsi(nameUtf8);
    std::string size = Utf8ToAnsi(sizeUtf8);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = name.data();
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = size.data();
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMA selection{};
    selection.state = state;
    selection.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&selection));
}

HTREEITEM AddItem(HWND tree, HTREEITEM parent, const char* utf8)
{
    std::string text = Utf8ToAnsi(utf8);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = text.data();
    return TreeView_InsertItem(tree, &insert);
}

Views MakeViews()
{
    InitCommonControls();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Plain;
    windowClass.lpszClassName = "RoundTripHolder";
    RegisterClassA(&windowClass);
    Views views;
    views.holder = CreateWindowExA(0, "RoundTripHolder", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
    views.list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 10, 10,
                                 280, 120, views.holder, nullptr, nullptr, nullptr);
    AddColumn(views.list, 0, "이름", 150);
    AddColumn(views.list, 1, "크기", 90);
    AddRow(views.list, 0, "사진.jpg", "12 KB", LVIS_SELECTED | LVIS_FOCUSED);
    AddRow(views.list, 1, "문서 \"초안\".txt", "3 KB", 0);
    views.tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, 10, 140,
                                 280, 100, views.holder, nullptr, nullptr, nullptr);
    HTREEITEM root = AddItem(views.tree, TVI_ROOT, "내 디스크");
    HTREEITEM child = AddItem(views.tree, root, "사진");
    SendMessageA(views.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    SendMessageA(views.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    PumpUntilIdle();
    return views;
}

// ---------------------------------------------------------------------------------------------
// Pictures: every operation once, with what the page reads from each.

FontInfo BoldFont()
{
    return FontInfo{Utf8ToAnsi("굴림"), -15, 700, true, false};
}

FontInfo SmallFont()
{
    return FontInfo{"Tahoma", -11, 400, false, true};
}

SharedDisplayList Share(DisplayList list)
{
    return std::make_shared<const DisplayList>(std::move(list));
}

DisplayOp RectOp(OpKind kind, RECT rect)
{
    DisplayOp op;
    op.kind = kind;
    op.rect = rect;
    return op;
}

DisplayOp ShapeOp(OpKind kind, RECT rect, PenInfo pen, BrushInfo brush, int rop2)
{
    DisplayOp op = RectOp(kind, rect);
    op.pen = pen;
    op.brush = brush;
    op.rop2 = rop2;
    return op;
}

DisplayOp TextOp(RECT rect, const char* utf8, FontInfo font, COLORREF color, int bkMode, COLORREF background,
                 UINT format, UINT state)
{
    DisplayOp op = RectOp(OpKind::Text, rect);
    op.text = Utf8ToAnsi(utf8);
    op.font = std::move(font);
    op.textColor = color;
    op.bkMode = bkMode;
    op.bkColor = background;
    op.format = format;
    op.flags = state;
    return op;
}

DisplayOp FocusOp(RECT rect)
{
    DisplayOp op = RectOp(OpKind::FrameRect, rect);
    op.image = "focus";
    return op;
}

ImageRef ResourceImage(ImageKind kind, UINT id, std::string name = {}, int slot = -1)
{
    ImageRef ref;
    ref.origin = ImageOrigin::Resource;
    ref.kind = kind;
    ref.id = id;
    ref.name = std::move(name);
    ref.slot = slot;
    return ref;
}

DisplayOp ImageOp(RECT rect, ImageRef ref, UINT flags)
{
    DisplayOp op = RectOp(OpKind::Image, rect);
    op.ref = std::move(ref);
    op.flags = flags;
    return op;
}

// The bold font as the page reads it, with the platform's fixed advances.
Json BoldFontRead()
{
    return Json{{"face", "굴림"}, {"height", -15}, {"weight", 700}, {"italic", true}, {"underline", false},
                {"asciiWidth", 7}, {"wideWidth", 15}, {"cellHeight", 15}};
}

Json SmallFontRead()
{
    return Json{{"face", "Tahoma"}, {"height", -11}, {"weight", 400}, {"italic", false}, {"underline", true},
                {"asciiWidth", 5}, {"wideWidth", 11}, {"cellHeight", 11}};
}

const char* const kDrawnText = "바꿀 파일 \"보고서\" \\ 탭\t끝";

DisplayList ClientOps()
{
    DisplayOp fill = RectOp(OpKind::FillRect, RECT{1, 2, 30, 40});
    fill.brush.color = RGB(0x11, 0x22, 0x33);
    DisplayOp frame = RectOp(OpKind::FrameRect, RECT{3, 4, 50, 60});
    frame.brush.color = RGB(0x44, 0x55, 0x66);
    DisplayOp round = ShapeOp(OpKind::RoundRect, RECT{9, 10, 110, 120}, PenInfo{0, 3, RGB(1, 2, 3)},
                              BrushInfo{false, RGB(0xAB, 0xCD, 0xEF)}, 6);
    round.corner = SIZE{6, 7};
    DisplayOp line = ShapeOp(OpKind::Line, RECT{}, PenInfo{2, 1, RGB(0x10, 0x20, 0x30)}, BrushInfo{}, 7);
    line.from = POINT{13, 14};
    line.to = POINT{150, 160};
    DisplayOp edge = RectOp(OpKind::Edge, RECT{17, 18, 190, 200});
    edge.format = 0x000A; // EDGE_SUNKEN
    edge.flags = 0x400F;  // BF_RECT | BF_FLAT
    ImageRef drag;
    drag.origin = ImageOrigin::DragImage;
    drag.dragText = Utf8ToAnsi("사진.jpg 외 2개");
    drag.dragImage = std::make_shared<const ImageRef>(ResourceImage(ImageKind::Bitmap, 0, "STRIP_TB", 3));
    ImageRef selected = ResourceImage(ImageKind::Icon, 225);
    selected.state = 6; // ILD_SELECTED | ILD_FOCUS
    DisplayOp blit = RectOp(OpKind::Blit, RECT{21, 22, 221, 122});
    blit.from = POINT{3, 4};
    blit.content = Share({TextOp(RECT{2, 3, 60, 14}, "숨은 글", SmallFont(), RGB(0x0D, 0x0E, 0x0F), 1, 0, 0x24, 0),
                          FocusOp(RECT{1, 1, 61, 15})});
    return {fill,
            frame,
            RectOp(OpKind::InvertRect, RECT{5, 6, 70, 80}),
            ShapeOp(OpKind::Rectangle, RECT{7, 8, 90, 100}, PenInfo{1, 2, RGB(0x77, 0x88, 0x99)}, BrushInfo{true}, 10),
            round,
            ShapeOp(OpKind::Ellipse, RECT{11, 12, 130, 140}, PenInfo{5, 1, 0}, BrushInfo{false, RGB(0xFE, 0xDC, 0xBA)},
                    13),
            line,
            TextOp(RECT{15, 16, 170, 32}, kDrawnText, BoldFont(), RGB(0x0A, 0x0B, 0x0C), 2, RGB(0xC0, 0xFF, 0xEE),
                   0x825, 0x20),
            edge,
            ImageOp(RECT{19, 20, 51, 52}, selected, 0),
            ImageOp(RECT{25, 26, 57, 58}, drag, 0x20),
            blit,
            FocusOp(RECT{23, 24, 63, 44})};
}

Json ClientOpsRead()
{
    Json hidden = ExpectOp("text", {{"left", 2}, {"top", 3}, {"right", 60}, {"bottom", 14}, {"text", "숨은 글"},
                                    {"font", 1}, {"color", 0x0D0E0F}, {"background", -1}, {"format", 0x24},
                                    {"state", 0}, {"fontInfo", SmallFontRead()}});
    return Json::array({
        ExpectOp("fillRect", {{"left", 1}, {"top", 2}, {"right", 30}, {"bottom", 40}, {"color", 0x112233}}),
        ExpectOp("frameRect", {{"left", 3}, {"top", 4}, {"right", 50}, {"bottom", 60}, {"color", 0x445566}}),
        ExpectOp("invertRect", {{"left", 5}, {"top", 6}, {"right", 70}, {"bottom", 80}}),
        ExpectOp("rectangle", {{"left", 7}, {"top", 8}, {"right", 90}, {"bottom", 100}, {"pen", {1, 2, 0x778899}},
                               {"brush", -1}, {"rop2", 10}}),
        ExpectOp("roundRect", {{"left", 9}, {"top", 10}, {"right", 110}, {"bottom", 120}, {"cornerWidth", 6},
                               {"cornerHeight", 7}, {"pen", {0, 3, 0x010203}}, {"brush", 0xABCDEF}, {"rop2", 6}}),
        ExpectOp("ellipse", {{"left", 11}, {"top", 12}, {"right", 130}, {"bottom", 140}, {"pen", {5, 1, 0}},
                             {"brush", 0xFEDCBA}, {"rop2", 13}}),
        ExpectOp("line", {{"x1", 13}, {"y1", 14}, {"x2", 150}, {"y2", 160}, {"pen", {2, 1, 0x102030}}, {"rop2", 7}}),
        ExpectOp("text", {{"left", 15}, {"top", 16}, {"right", 170}, {"bottom", 32}, {"text", kDrawnText}, {"font", 0},
                          {"color", 0x0A0B0C}, {"background", 0xC0FFEE}, {"format", 0x825}, {"state", 0x20},
                          {"fontInfo", BoldFontRead()}}),
        ExpectOp("edge", {{"left", 17}, {"top", 18}, {"right", 190}, {"bottom", 200}, {"edge", 0x000A},
                          {"flags", 0x400F}}),
        ExpectOp("image", {{"left", 19}, {"top", 20}, {"right", 51}, {"bottom", 52}, {"key", "resource/icon/225"},
                           {"slot", -1}, {"state", 6}, {"dragText", ""}}),
        ExpectOp("image", {{"left", 25}, {"top", 26}, {"right", 57}, {"bottom", 58},
                           {"key", "resource/bitmap/STRIP_TB"}, {"slot", 3}, {"state", 0x20},
                           {"dragText", "사진.jpg 외 2개"}}),
        ExpectOp("blit", {{"left", 21}, {"top", 22}, {"right", 221}, {"bottom", 122}, {"srcX", 3}, {"srcY", 4},
                          {"ops", Json::array({hidden, ExpectOp("focusRect", {{"left", 1}, {"top", 1}, {"right", 61},
                                                                              {"bottom", 15}})})}}),
        ExpectOp("focusRect", {{"left", 23}, {"top", 24}, {"right", 63}, {"bottom", 44}}),
    });
}

DisplayOp PlatformIcon(RECT rect)
{
    ImageRef ref;
    ref.origin = ImageOrigin::Platform;
    ref.kind = ImageKind::Icon;
    ref.name = "exclamation";
    return ImageOp(rect, ref, 0);
}

// ---------------------------------------------------------------------------------------------
// The desktop the samples show.

constexpr std::uintptr_t kDialog = 0x4101;
constexpr std::uintptr_t kOwner = 0x4109;
constexpr std::uintptr_t kWebView = 0x4133;
constexpr std::uintptr_t kCheckBox = 0x4144;
constexpr std::uintptr_t kGone = 0x4177;
const char* const kCaption = "파일 바꾸기 확인 \"따옴표\" \\ 끝";
const char* const kWebAddress = "https://127.0.0.1:9/myhtml/index.html?q=%EC%9B%B9&r=1";

std::vector<ImageManifestEntry> Manifest()
{
    ImageManifestEntry icon{"resource/icon/225", ResourceImage(ImageKind::Icon, 225), "icons/replace.png", 32, 33};
    ImageManifestEntry cursor{"resource/cursor/1011", ResourceImage(ImageKind::Cursor, 1011), "cursors/hand.png", 34, 35};
    ImageManifestEntry platform{"platform/icon/exclamation", {}, "", 36, 37};
    return {icon, cursor, platform};
}

WindowState DialogState()
{
    WindowState dialog;
    dialog.handle = Fake(kDialog);
    dialog.owner = Fake(kOwner);
    dialog.zOrder = 2;
    dialog.className = "#32770";
    dialog.style = 0x94C800C4;
    dialog.exStyle = 0x00010101;
    dialog.windowRect = RECT{40, 30, 460, 350};
    dialog.clientRect = RECT{43, 52, 457, 347};
    dialog.text = Utf8ToAnsi(kCaption);
    dialog.visible = true;
    dialog.shownFlag = true;
    dialog.picture = Share(ClientOps());
    DisplayOp frameEdge = RectOp(OpKind::Edge, RECT{0, 0, 420, 320});
    frameEdge.format = 5;  // EDGE_RAISED
    frameEdge.flags = 0x0F; // BF_RECT
    dialog.nonClientPicture = Share({frameEdge});
    dialog.overlay = Share({RectOp(OpKind::InvertRect, RECT{31, 32, 33, 34})});
    return dialog;
}

Json DialogRead()
{
    return {{"h", kDialog},        {"parent", 0},
            {"owner", kOwner},     {"depth", 0},
            {"z", 2},              {"cls", "#32770"},
            {"id", 0},             {"style", 0x94C800C4LL},
            {"exStyle", 0x00010101}, {"rect", {40, 30, 460, 350}},
            {"client", {43, 52, 457, 347}}, {"text", kCaption},
            {"visible", true},     {"shown", true},
            {"enabled", false},    {"enabledTree", false}};
}

WindowState ViewState(HWND handle, const char* className, LONG_PTR id, int zOrder, RECT rect)
{
    WindowState view;
    view.handle = handle;
    view.parent = Fake(kDialog);
    view.depth = 1;
    view.zOrder = zOrder;
    view.className = className;
    view.id = id;
    view.style = static_cast<DWORD>(GetWindowLongPtrA(handle, GWL_STYLE));
    view.exStyle = 0x200; // WS_EX_CLIENTEDGE
    view.windowRect = rect;
    view.clientRect = RECT{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
    view.visible = true;
    view.shownFlag = true;
    view.enabled = true;
    view.enabledInTree = false;
    return view;
}

Json ViewRead(HWND handle, const char* className, long long id, int zOrder, Json rect, Json client)
{
    return {{"h", Number(handle)},
            {"parent", kDialog},
            {"owner", 0},
            {"depth", 1},
            {"z", zOrder},
            {"cls", className},
            {"id", id},
            {"style", static_cast<long long>(static_cast<DWORD>(GetWindowLongPtrA(handle, GWL_STYLE)))},
            {"exStyle", 0x200},
            {"rect", std::move(rect)},
            {"client", std::move(client)},
            {"text", ""},
            {"visible", true},
            {"shown", true},
            {"enabled", true},
            {"enabledTree", false}};
}

WindowState WebViewState()
{
    WindowState web;
    web.handle = Fake(kWebView);
    web.parent = Fake(kDialog);
    web.depth = 1;
    web.zOrder = 3;
    web.className = WC_WEBVIEWA;
    web.id = 1047;
    web.style = 0x50000000;
    web.windowRect = RECT{50, 60, 250, 160};
    web.clientRect = RECT{51, 61, 249, 159};
    web.text = kWebAddress;
    web.shownFlag = true; // but its parent is hidden in this picture of things
    web.enabled = true;
    web.enabledInTree = true;
    return web;
}

Json WebViewRead()
{
    return {{"h", kWebView},   {"parent", kDialog},  {"owner", 0},          {"depth", 1},
            {"z", 3},          {"cls", "OstranaWebView"}, {"id", 1047},     {"style", 0x50000000},
            {"exStyle", 0},    {"rect", {50, 60, 250, 160}}, {"client", {51, 61, 249, 159}},
            {"text", kWebAddress}, {"visible", false}, {"shown", true},    {"enabled", true},
            {"enabledTree", true}, {"url", kWebAddress}};
}

// A three-state check box in its third state: the check travels as BM_GETCHECK's number.
WindowState CheckBoxState()
{
    WindowState box;
    box.handle = Fake(kCheckBox);
    box.parent = Fake(kDialog);
    box.depth = 1;
    box.zOrder = 4;
    box.className = WC_BUTTONA;
    box.id = 1048;
    box.style = 0x50010006; // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTO3STATE
    box.windowRect = RECT{50, 170, 200, 186};
    box.clientRect = RECT{50, 170, 200, 186};
    box.text = Utf8ToAnsi("하위 폴더까지");
    box.visible = true;
    box.shownFlag = true;
    box.enabled = true;
    box.check = 2;
    return box;
}

Json CheckBoxRead()
{
    return {{"h", kCheckBox},  {"parent", kDialog},  {"owner", 0},       {"depth", 1},
            {"z", 4},          {"cls", "Button"},    {"id", 1048},       {"style", 0x50010006},
            {"exStyle", 0},    {"rect", {50, 170, 200, 186}}, {"client", {50, 170, 200, 186}},
            {"text", "하위 폴더까지"}, {"visible", true}, {"shown", true}, {"enabled", true},
            {"enabledTree", false}, {"checked", 2}};
}

DesktopSnapshot Desktop(const Views& views)
{
    DesktopSnapshot snapshot;
    snapshot.screen = SIZE{1366, 777};
    snapshot.windows = {DialogState(), ViewState(views.list, WC_LISTVIEWA, 1045, 0, RECT{53, 62, 333, 182}),
                        ViewState(views.tree, WC_TREEVIEWA, 1046, 1, RECT{53, 192, 333, 292}), WebViewState(),
                        CheckBoxState()};
    snapshot.focus = views.list;
    snapshot.active = Fake(kDialog);
    snapshot.capture = views.tree;
    snapshot.cursor = "cursor 1011";
    snapshot.cursorRef = ResourceImage(ImageKind::Cursor, 1011);
    snapshot.caret = CaretState{views.list, RECT{5, 6, 7, 20}, true, 611};
    DisplayOp outline = ShapeOp(OpKind::Rectangle, RECT{100, 101, 300, 201}, PenInfo{0, 1, 0}, BrushInfo{true}, 6);
    snapshot.screenOverlay = Share({outline, PlatformIcon(RECT{102, 103, 134, 135})});
    return snapshot;
}

// What each whole-state message must read as, by the key the writer gives it.
std::map<std::string, Json> WholeStateRead(const Views& views)
{
    std::string dialog = std::to_string(kDialog);
    Json list = ViewRead(views.list, "SysListView32", 1045, 0, {53, 62, 333, 182}, {55, 64, 331, 180});
    list["columns"] = Json::array({{{"text", "이름"}, {"width", 150}}, {{"text", "크기"}, {"width", 90}}});
    list["rows"] = Json::array({{{"i", 0}, {"cells", {"사진.jpg", "12 KB"}}, {"sel", true}, {"focus", true},
                                 {"rect", {0, 20, 240, 38}}},
                                {{"i", 1}, {"cells", {"문서 \"초안\".txt", "3 KB"}}, {"sel", false}, {"focus", false},
                                 {"rect", {0, 38, 240, 56}}}});
    Json tree = ViewRead(views.tree, "SysTreeView32", 1046, 1, {53, 192, 333, 292}, {55, 194, 331, 290});
    tree["items"] = Json::array({{{"text", "내 디스크"}, {"level", 0}, {"expanded", true}, {"children", true},
                                  {"sel", false}, {"rect", {21, 0, 79, 16}}},
                                 {{"text", "사진"}, {"level", 1}, {"expanded", false}, {"children", false},
                                  {"sel", true}, {"rect", {40, 16, 68, 32}}}});
    Json fonts = Json::array({BoldFontRead(), SmallFontRead()});
    return {
        {"window:" + dialog, Expect("treeChange", DialogRead())},
        {"window:" + std::to_string(Number(views.list)), Expect("treeChange", list)},
        {"window:" + std::to_string(Number(views.tree)), Expect("treeChange", tree)},
        {"window:" + std::to_string(kWebView), Expect("treeChange", WebViewRead())},
        {"window:" + std::to_string(kCheckBox), Expect("treeChange", CheckBoxRead())},
        {"image:resource/icon/225",
         Expect("image", {{"key", "resource/icon/225"}, {"url", "/res/icons/replace.png"}, {"size", {32, 33}}})},
        {"image:resource/bitmap/STRIP_TB",
         Expect("image", {{"key", "resource/bitmap/STRIP_TB"}, {"url", ""}, {"size", {0, 0}}})},
        {"image:platform/icon/exclamation",
         Expect("image", {{"key", "platform/icon/exclamation"}, {"url", ""}, {"size", {36, 37}}})},
        {"picture:" + dialog + ":client",
         Expect("picture", {{"h", kDialog}, {"part", "client"}, {"fonts", fonts}, {"ops", ClientOpsRead()}})},
        {"picture:" + dialog + ":frame",
         Expect("picture", {{"h", kDialog}, {"part", "frame"}, {"fonts", Json::array()},
                            {"ops", {ExpectOp("edge", {{"left", 0}, {"top", 0}, {"right", 420}, {"bottom", 320},
                                                       {"edge", 5}, {"flags", 0x0F}})}}})},
        {"picture:" + dialog + ":overlay",
         Expect("picture", {{"h", kDialog}, {"part", "overlay"}, {"fonts", Json::array()},
                            {"ops", {ExpectOp("invertRect", {{"left", 31}, {"top", 32}, {"right", 33}, {"bottom", 34}})}}})},
        {"order", Expect("order", {{"windows", {kDialog, Number(views.list), Number(views.tree), kWebView, kCheckBox}}})},
        {"focus", Expect("focus", {{"focus", Number(views.list)}, {"active", kDialog}, {"capture", Number(views.tree)}})},
        {"caret", Expect("caret", {{"h", Number(views.list)}, {"rect", {5, 6, 7, 20}}, {"visible", true}, {"blink", 611}})},
        {"cursor", Expect("cursor", {{"name", "cursor 1011"}, {"css", "pointer"}, {"image", "/res/cursors/hand.png"},
                                     {"hotspot", {12, 2}}})},
        {"overlay",
         Expect("overlay", {{"fonts", Json::array()},
                            {"ops", {ExpectOp("rectangle", {{"left", 100}, {"top", 101}, {"right", 300}, {"bottom", 201},
                                                            {"pen", {0, 1, 0}}, {"brush", -1}, {"rop2", 6}}),
                                     ExpectOp("image", {{"left", 102}, {"top", 103}, {"right", 134}, {"bottom", 135},
                                                        {"key", "platform/icon/exclamation"}, {"slot", -1}, {"state", 0},
                                                        {"dragText", ""}})}}})},
        {"window:" + std::to_string(kGone), Expect("treeChange", {{"h", kGone}, {"gone", true}})},
    };
}

Json SysColorsRead()
{
    Json colors = Json::array();
    for (int index = 0; index < 31; ++index) {
        COLORREF color = GetSysColor(index);
        colors.push_back((GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color));
    }
    return colors;
}

// The frame of the whole state, closed by the batcher as a page's third frame.
std::vector<Sample> WholeStateFrame(const std::vector<PageMessage>& messages, std::map<std::string, Json> expected)
{
    FrameBatcher batcher;
    for (std::uint64_t frame = 1; frame < 3; ++frame) {
        batcher.Add("earlier", "{}");
        batcher.TakeFrame();
        batcher.Acknowledge(frame);
    }
    std::vector<Sample> samples;
    for (const PageMessage& message : messages) {
        auto found = expected.find(message.key);
        if (found == expected.end())
            throw std::runtime_error("no expectation for " + message.key + ": " + message.json);
        samples.push_back({message.json, found->second});
        expected.erase(found);
        batcher.Add(message.key, message.json);
    }
    if (!expected.empty())
        throw std::runtime_error("the writer sent nothing for " + expected.begin()->first);
    auto frame = batcher.TakeFrame();
    if (!frame || frame->size() != samples.size() + 1)
        throw std::runtime_error("the batcher did not close the frame with one mark");
    for (std::size_t i = 0; i < samples.size(); ++i)
        if ((*frame)[i] != samples[i].json)
            throw std::runtime_error("the batcher reordered the frame");
    samples.push_back({frame->back(), Expect("frameEnd", {{"frame", 3}})});
    return samples;
}

} // namespace

std::vector<Sample> PageSamples()
{
    std::vector<Sample> samples;
    samples.push_back({SnapshotWriter::Hello(7, SIZE{1366, 777}),
                       Expect("hello", {{"version", kProtocolVersion}, {"session", 7}, {"screen", {1366, 777}},
                                        {"sysColors", SysColorsRead()}})});
    test::UiThread ui;
    ui.Run([&] {
        Views views = MakeViews();
        SnapshotWriter writer(Manifest, [](const WindowState& state) { return ViewRowsOf(state.handle, state.className); });
        DesktopSnapshot snapshot = Desktop(views);
        std::vector<PageMessage> messages = writer.WholeState(snapshot);
        for (PageMessage& gone : writer.Changes(snapshot, {DisplayChange{DisplayEvent::Text, Fake(kGone)}}))
            messages.push_back(std::move(gone));
        for (Sample& sample : WholeStateFrame(messages, WholeStateRead(views)))
            samples.push_back(std::move(sample));
        DestroyWindow(views.holder);
    });
    const char* copied = "복사한 글 \"하나\"\r\n둘째 줄";
    samples.push_back({SnapshotWriter::Clipboard(copied).json, Expect("clipboard", {{"text", copied}})});
    samples.push_back({MessageWriter(ToPage::Event).Text("name", "OnOstranaLoaded").Finish(),
                       Expect("event", {{"name", "OnOstranaLoaded"}})});
    const char* address = "https://example.test/도움말?x=1&y=\"2\"";
    samples.push_back({MessageWriter(ToPage::OpenUrl).Text("url", address).Finish(), Expect("openUrl", {{"url", address}})});
    samples.push_back({MessageWriter(ToPage::Superseded).Finish(), Expect("superseded", Json::object())});
    return samples;
}

} // namespace ostrana::host::roundtrip
