#include "platform/shell/PropertySheet.h"

#include <filesystem>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/shell/ShellItem.h"
#include "platform/shell/ShellItemInfo.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/WindowStyles.h"

namespace ostrana {
namespace {

namespace fs = std::filesystem;

// A folder's size walks at most this many entries; a bigger tree shows what was counted.
constexpr std::size_t kSizeWalkLimit = 100000;

struct Facts {
    std::string name, type, location, size, modified, accessed, attributes; // ANSI
};

ULONGLONG FolderBytes(const std::string& hostPath, bool& complete) {
    ULONGLONG total = 0;
    std::size_t seen = 0;
    std::error_code error;
    complete = true;
    for (fs::recursive_directory_iterator it(hostPath, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        if (++seen > kSizeWalkLimit) {
            complete = false;
            break;
        }
        std::error_code entryError;
        if (it->is_regular_file(entryError) && !it->is_symlink(entryError)) {
            total += it->file_size(entryError);
        }
    }
    return total;
}

std::string LocationOf(const shellns::Place& place) {
    if (!place.HasPath() || place.drive != 0) {
        return {};
    }
    std::size_t slash = place.localPath.find_last_of('\\');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 2 ? place.localPath.substr(0, 3) : place.localPath.substr(0, slash);
}

Facts Gather(const shellns::Place& place) {
    Facts facts;
    facts.name = shellns::PlaceDisplayName(place, place.HasPath() && place.drive == 0 ? SHGDN_INFOLDER | SHGDN_FORPARSING
                                                                                       : SHGDN_NORMAL,
                                           true);
    facts.type = shellns::PlaceTypeName(place);
    facts.location = LocationOf(place);
    if (!place.HasPath()) {
        return facts;
    }
    if (std::optional<shellns::EntryStat> stat = shellns::StatHostPath(place.hostPath)) {
        bool complete = true;
        ULONGLONG bytes = stat->directory ? FolderBytes(place.hostPath, complete) : stat->size;
        facts.size = PropertySizeText(bytes) + (complete ? "" : Utf8ToAnsi(" 이상"));
        facts.modified = shellns::FileTimeText(stat->modified);
        facts.accessed = shellns::FileTimeText(stat->accessed);
        std::vector<std::string> marks;
        if (stat->readOnly) {
            marks.push_back(Utf8ToAnsi("읽기 전용"));
        }
        if (place.name.starts_with('.') && place.drive == 0 && !place.home) {
            marks.push_back(Utf8ToAnsi("숨김"));
        }
        if (stat->link) {
            marks.push_back(Utf8ToAnsi("바로 가기"));
        }
        for (const std::string& mark : marks) {
            facts.attributes += (facts.attributes.empty() ? "" : ", ") + mark;
        }
    }
    return facts;
}

INT_PTR SheetProcedure(HWND sheet, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(sheet);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

DialogTemplate SheetTemplate(const Facts& facts) {
    DialogTemplate sheet;
    sheet.caption = facts.name + Utf8ToAnsi(" 속성");
    sheet.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    sheet.cx = 230;
    sheet.cy = 150;
    sheet.font = Utf8ToAnsi("굴림");
    constexpr DWORD kText = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    struct Row {
        const char* label;
        int id;
        const std::string& value;
    };
    const Row rows[] = {
        {"이름:", IDC_PROPERTY_NAME, facts.name},           {"종류:", IDC_PROPERTY_TYPE, facts.type},
        {"위치:", IDC_PROPERTY_LOCATION, facts.location},   {"크기:", IDC_PROPERTY_SIZE, facts.size},
        {"수정한 날짜:", IDC_PROPERTY_MODIFIED, facts.modified}, {"액세스한 날짜:", IDC_PROPERTY_ACCESSED, facts.accessed},
        {"특성:", IDC_PROPERTY_ATTRIBUTES, facts.attributes},
    };
    short y = 8;
    for (const Row& row : rows) {
        sheet.items.push_back({"Static", Utf8ToAnsi(row.label), -1, kText, 0, 8, y, 60, 10});
        sheet.items.push_back({"Static", row.value, row.id, kText, 0, 70, y, 152, 10});
        y = static_cast<short>(y + 15);
    }
    sheet.items.push_back({"Button", Utf8ToAnsi("확인"), IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                           172, 128, 50, 14});
    return sheet;
}

} // namespace

std::string PropertySizeText(ULONGLONG bytes) {
    return shellns::KilobyteText(bytes) + " (" + shellns::GroupedDigits(bytes) + Utf8ToAnsi(" 바이트)");
}

HWND ShowPropertySheet(HWND owner, PCIDLIST_ABSOLUTE list) {
    std::optional<shellns::Place> place = shellns::ResolvePlace(list);
    if (list == nullptr || !place) {
        return nullptr;
    }
    DialogTemplate sheet = SheetTemplate(Gather(*place));
    HWND window = CreateDialogIndirectParamA(nullptr, &sheet, owner, SheetProcedure, 0);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
    }
    return window;
}

} // namespace ostrana
