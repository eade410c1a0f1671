#include "tests/host/HostTestSupport.h"

#include "platform/base/CodePage.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/Dialog.h"
#include "platform/window/Messages.h"
#include "res/ResourceIds.h"
#include "res/Resources.h"

namespace ostrana::host::test {

namespace {

INT_PTR Quiet(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

LRESULT Plain(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND ShowOverwritePrompt()
{
    HWND dialog = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDD_OVERWRITE), nullptr, Quiet, 0);
    ShowWindow(dialog, SW_SHOW);
    PumpUntilIdle();
    return dialog;
}

HWND ShowReportList(int rows, HWND& list)
{
    InitCommonControls();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Plain;
    windowClass.lpszClassName = "ListHolder";
    RegisterClassA(&windowClass);
    HWND parent = CreateWindowExA(0, "ListHolder", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 280, 120, parent, nullptr,
                           nullptr, nullptr);
    std::string titles[] = {Utf8ToAnsi("이름"), Utf8ToAnsi("크기")};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        info.pszText = titles[column].data();
        info.cx = column == 0 ? 150 : 90;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    }
    for (int i = 0; i < rows; ++i) {
        std::string name = "row " + std::to_string(i);
        std::string size = std::to_string(i) + "KB";
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = name.data();
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = size.data();
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    PumpUntilIdle();
    return parent;
}

std::vector<ImageManifestEntry> ModuleImages()
{
    HINSTANCE modules[] = {AfxGetResourceHandle()};
    return ImageManifest(modules);
}

SnapshotWriter MakeWriter()
{
    return SnapshotWriter(ModuleImages,
                          [](const WindowState& state) { return ViewRowsOf(state.handle, state.className); });
}

std::vector<nlohmann::json> Parse(const std::vector<PageMessage>& messages)
{
    std::vector<nlohmann::json> parsed;
    for (const PageMessage& message : messages)
        parsed.push_back(nlohmann::json::parse(message.json));
    return parsed;
}

std::vector<nlohmann::json> OfKind(const std::vector<nlohmann::json>& messages, ToPage kind)
{
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& message : messages)
        if (message["k"] == static_cast<int>(kind))
            found.push_back(message);
    return found;
}

nlohmann::json WindowRecord(const std::vector<nlohmann::json>& messages, HWND window)
{
    for (const nlohmann::json& message : OfKind(messages, ToPage::TreeChange))
        if (message["h"] == HandleNumber(window))
            return message;
    return nullptr;
}

} // namespace ostrana::host::test
