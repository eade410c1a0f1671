#include "platform/shell/ShellItemInfo.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "platform/base/CodePage.h"
#include "platform/base/Drives.h"
#include "platform/base/FileApi.h"
#include "platform/base/Locale.h"
#include "platform/base/TimeFormat.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellFlags.h"

namespace ostrana::shellns {
namespace {

constexpr const char* kComputerParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr const char* kInternetParsingName = "::{871C5380-42A0-1069-A2EA-08002B30309D}";
constexpr const char* kDesktopParsingName = "::{00021400-0000-0000-C000-000000000046}";

constexpr SFGAOF kEntryCapabilities = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE |
                                      SFGAO_HASPROPSHEET;

FILETIME FromUnix(const struct timespec& time) {
    constexpr ULONGLONG kEpochTicks = 116444736000000000ULL;
    ULONGLONG ticks = kEpochTicks + static_cast<ULONGLONG>(time.tv_sec) * 10000000ULL +
                      static_cast<ULONGLONG>(time.tv_nsec) / 100ULL;
    return TicksToFileTime(ticks);
}

UINT DriveType(char letter) {
    char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root);
}

std::string DriveKindName(char letter) {
    switch (DriveType(letter)) {
    case DRIVE_REMOTE:
        return "네트워크 드라이브";
    case DRIVE_REMOVABLE:
        return "이동식 디스크";
    case DRIVE_CDROM:
        return "CD 드라이브";
    case DRIVE_RAMDISK:
        return "RAM 디스크";
    default:
        return "로컬 디스크";
    }
}

bool IsHiddenName(const std::string& name) { return name.starts_with('.'); }

// A leading dot is no extension: ".profile" keeps its name.
std::string WithoutExtension(const std::string& name) {
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string EntryName(const Place& place, SHGDNF flags, bool showExtensions) {
    if ((flags & SHGDN_FORPARSING) != 0 && (flags & SHGDN_INFOLDER) == 0) {
        return place.localPath;
    }
    if ((flags & SHGDN_FORPARSING) == 0 && place.kind == PlaceKind::File && !showExtensions) {
        return Utf8ToAnsi(WithoutExtension(place.name));
    }
    return Utf8ToAnsi(place.name);
}

SFGAOF DirectoryAttributes(const Place& place, SFGAOF asked) {
    SFGAOF bits = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_STORAGEANCESTOR | SFGAO_DROPTARGET |
                  SFGAO_HASPROPSHEET;
    if (place.drive != 0) {
        bits |= SFGAO_CANLINK;
        if (DriveType(place.drive) == DRIVE_REMOVABLE) {
            bits |= SFGAO_REMOVABLE;
        }
    } else {
        bits |= kEntryCapabilities;
    }
    if ((asked & SFGAO_HASSUBFOLDER) != 0 && HasSubfolder(place.hostPath)) {
        bits |= SFGAO_HASSUBFOLDER;
    }
    return bits;
}

} // namespace

std::optional<EntryStat> StatHostPath(const std::string& hostPath) {
    struct stat own {};
    if (::lstat(hostPath.c_str(), &own) != 0) {
        return std::nullopt;
    }
    EntryStat entry;
    entry.link = S_ISLNK(own.st_mode);
    struct stat target = own;
    if (entry.link && ::stat(hostPath.c_str(), &target) != 0) {
        target = own;
    }
    entry.directory = S_ISDIR(target.st_mode);
    entry.readOnly = (target.st_mode & S_IWUSR) == 0;
    entry.size = entry.directory ? 0 : static_cast<std::uint64_t>(target.st_size);
    entry.modified = FromUnix(target.st_mtim);
    entry.accessed = FromUnix(target.st_atim);
    return entry;
}

bool HasSubfolder(const std::string& hostPath) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostPath.c_str()), ::closedir);
    if (!dir) {
        return false;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (entry->d_type == DT_DIR) {
            return true;
        }
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat target {};
            std::string path = hostPath.ends_with('/') ? hostPath + name : hostPath + "/" + name;
            if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
                return true;
            }
        }
    }
    return false;
}

std::optional<SFGAOF> PlaceAttributes(const Place& place, SFGAOF asked) {
    SFGAOF bits = 0;
    switch (place.kind) {
    case PlaceKind::Desktop:
        bits = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
        break;
    case PlaceKind::Computer:
        bits = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASPROPSHEET;
        break;
    case PlaceKind::Internet:
        bits = SFGAO_FOLDER | SFGAO_BROWSABLE | SFGAO_HASPROPSHEET;
        break;
    case PlaceKind::Directory:
    case PlaceKind::File: {
        std::optional<EntryStat> stat = StatHostPath(place.hostPath);
        if (!stat && (asked & SFGAO_VALIDATE) != 0) {
            return std::nullopt;
        }
        if (place.kind == PlaceKind::Directory) {
            bits = DirectoryAttributes(place, asked);
        } else {
            bits = SFGAO_FILESYSTEM | SFGAO_STREAM | kEntryCapabilities;
        }
        if (stat && stat->link) {
            bits |= SFGAO_LINK;
        }
        if (stat && stat->readOnly) {
            bits |= SFGAO_READONLY;
        }
        if (place.drive == 0 && !place.home && IsHiddenName(place.name)) {
            bits |= SFGAO_HIDDEN;
        }
        break;
    }
    }
    return bits & asked;
}

std::string PlaceDisplayName(const Place& place, SHGDNF flags, bool showExtensions) {
    bool parsing = (flags & SHGDN_FORPARSING) != 0;
    switch (place.kind) {
    case PlaceKind::Desktop:
        return parsing ? kDesktopParsingName : Utf8ToAnsi("바탕 화면");
    case PlaceKind::Computer:
        return parsing ? kComputerParsingName : Utf8ToAnsi("내 컴퓨터");
    case PlaceKind::Internet:
        return parsing ? kInternetParsingName : Utf8ToAnsi("인터넷");
    case PlaceKind::Directory:
        if (place.drive != 0) {
            if (parsing) {
                return place.localPath;
            }
            return Utf8ToAnsi(DriveKindName(place.drive)) + " (" + std::string(1, place.drive) + ":)";
        }
        return EntryName(place, flags, showExtensions);
    case PlaceKind::File:
        return EntryName(place, flags, showExtensions);
    }
    return {};
}

std::string PlaceTypeName(const Place& place) {
    switch (place.kind) {
    case PlaceKind::Desktop:
    case PlaceKind::Computer:
    case PlaceKind::Internet:
        return Utf8ToAnsi("시스템 폴더");
    case PlaceKind::Directory:
        return place.drive != 0 ? Utf8ToAnsi(DriveKindName(place.drive)) : Utf8ToAnsi("파일 폴더");
    case PlaceKind::File: {
        SHFILEINFOA info{};
        SHGetFileInfoA(place.localPath.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
        return info.szTypeName;
    }
    }
    return {};
}

std::string PlaceIconKind(const Place& place, bool open) {
    switch (place.kind) {
    case PlaceKind::Desktop:
        return "desktop";
    case PlaceKind::Computer:
        return "computer";
    case PlaceKind::Internet:
        return "internet";
    case PlaceKind::Directory:
        if (place.drive != 0) {
            return "drive";
        }
        return open ? "openfolder" : "folder";
    case PlaceKind::File: {
        std::size_t dot = place.name.rfind('.');
        return dot == std::string::npos || dot == 0 ? "file" : Utf8ToAnsi(place.name.substr(dot));
    }
    }
    return "file";
}

std::string DetailHeading(UINT column) {
    static const char* const kHeadings[kDetailColumns] = {"이름", "크기", "종류", "수정한 날짜"};
    return column < kDetailColumns ? Utf8ToAnsi(kHeadings[column]) : std::string();
}

std::string GroupedDigits(std::uint64_t value) {
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
    std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            text += separator;
        }
        text += digits[i];
    }
    return text;
}

std::string KilobyteText(std::uint64_t bytes) {
    std::uint64_t kilobytes = bytes <= 1024 ? 1 : (bytes + 1023) / 1024;
    return GroupedDigits(kilobytes) + " KB";
}

std::string DetailText(const Place& place, UINT column, bool showExtensions) {
    switch (column) {
    case 0:
        return PlaceDisplayName(place, SHGDN_INFOLDER, showExtensions);
    case 2:
        return PlaceTypeName(place);
    case 1:
    case 3: {
        if (!place.HasPath()) {
            return {};
        }
        std::optional<EntryStat> stat = StatHostPath(place.hostPath);
        if (!stat) {
            return {};
        }
        if (column == 1) {
            return place.kind == PlaceKind::File ? KilobyteText(stat->size) : std::string();
        }
        return FileTimeText(stat->modified);
    }
    default:
        return {};
    }
}

std::string FileTimeText(const FILETIME& time) {
    SYSTEMTIME parts{};
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &parts)) {
        return {};
    }
    return FormatSystemTime("%Y-%m-%d %p %#I:%M", parts).value_or(std::string());
}

bool ShowExtensionsNow() {
    SHELLFLAGSTATE state{};
    SHGetSettings(&state, SSF_SHOWEXTENSIONS);
    return state.fShowExtensions != 0;
}

} // namespace ostrana::shellns
