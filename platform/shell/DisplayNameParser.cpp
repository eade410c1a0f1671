#include "platform/shell/DisplayNameParser.h"

#include <cctype>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItemInfo.h"

namespace ostrana::shellns {
namespace {

constexpr const char* kComputerParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr const char* kInternetParsingName = "::{871C5380-42A0-1069-A2EA-08002B30309D}";

std::vector<std::string> SplitSteps(const std::string& text) {
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\\', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            steps.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return steps;
}

bool EqualsNoCase(const std::string& first, const char* second) {
    std::size_t i = 0;
    for (; i < first.size() && second[i] != '\0'; ++i) {
        if (std::toupper(static_cast<unsigned char>(first[i])) != std::toupper(static_cast<unsigned char>(second[i]))) {
            return false;
        }
    }
    return i == first.size() && second[i] == '\0';
}

// Steps (ANSI) below `folder`, each checked on the disk.
HRESULT ParseSteps(const Place& folder, const std::string& relative, std::vector<ItemRef>& items) {
    Place at = folder;
    for (const std::string& ansiStep : SplitSteps(relative)) {
        if (at.kind != PlaceKind::Directory) {
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        }
        std::string step = AnsiToUtf8(ansiStep);
        if (!IsPlainName(step) || step.find('/') != std::string::npos) {
            return E_INVALIDARG;
        }
        std::string host = at.hostPath.ends_with('/') ? at.hostPath + step : at.hostPath + "/" + step;
        std::optional<EntryStat> stat = StatHostPath(host);
        if (!stat) {
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        }
        ItemRef item{stat->directory ? ItemKind::Folder : ItemKind::File, step};
        std::optional<Place> next = ChildPlace(at, item);
        if (!next) {
            return E_INVALIDARG;
        }
        items.push_back(std::move(item));
        at = std::move(*next);
    }
    return S_OK;
}

bool StartsWithDrive(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0])) &&
           (text.size() == 2 || text[2] == '\\');
}

// "X:\rest" from "내 컴퓨터".
HRESULT ParseDrivePath(const std::string& text, std::vector<ItemRef>& items) {
    if (!StartsWithDrive(text)) {
        return E_INVALIDARG;
    }
    ItemRef drive{ItemKind::Drive, std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))))};
    std::optional<Place> root = ChildPlace(PlaceOfKind(PlaceKind::Computer), drive);
    if (!root) {
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }
    items.push_back(drive);
    return ParseSteps(*root, text.size() > 3 ? text.substr(3) : std::string(), items);
}

} // namespace

HRESULT ParseItems(const Place& from, const std::string& ansiName, std::vector<ItemRef>& items) {
    items.clear();
    if (ansiName.empty() || ansiName.find('/') != std::string::npos) {
        return E_INVALIDARG;
    }
    switch (from.kind) {
    case PlaceKind::Desktop:
        if (EqualsNoCase(ansiName, kComputerParsingName)) {
            items.push_back({ItemKind::Computer, ""});
            return S_OK;
        }
        if (EqualsNoCase(ansiName, kInternetParsingName)) {
            items.push_back({ItemKind::Internet, ""});
            return S_OK;
        }
        items.push_back({ItemKind::Computer, ""});
        return ParseDrivePath(ansiName, items);
    case PlaceKind::Computer:
        return ParseDrivePath(ansiName, items);
    case PlaceKind::Directory:
        if (StartsWithDrive(ansiName)) {
            return E_INVALIDARG;
        }
        return ParseSteps(from, ansiName, items);
    case PlaceKind::Internet:
    case PlaceKind::File:
        return E_INVALIDARG;
    }
    return E_INVALIDARG;
}

} // namespace ostrana::shellns
