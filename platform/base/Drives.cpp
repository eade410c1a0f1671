#include "platform/base/Drives.h"

#include <sys/stat.h>
#include <sys/vfs.h>

#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/base/LocalPath.h"

namespace {

std::string DriveStrings() {
    std::string all;
    for (const auto& drive : ostrana::MappedDrives()) {
        all += drive.letter;
        all += ":\\";
        all += '\0';
    }
    return all;
}

const ostrana::DriveMapping* FindDrive(const std::vector<ostrana::DriveMapping>& drives, char letter) {
    for (const auto& drive : drives) {
        if (drive.letter == letter) return &drive;
    }
    return nullptr;
}

UINT KindOfFileSystem(const std::string& root) {
    struct statfs info {};
    if (::statfs(root.c_str(), &info) != 0) return DRIVE_UNKNOWN;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB
    case 0xFE534D42UL: // SMB2
    case 0xFF534D42UL: // CIFS
    case 0x65735546UL: // FUSE, most often a network mount
        return DRIVE_REMOTE;
    case 0x01021994UL: // tmpfs
    case 0x858458F6UL: // ramfs
        return DRIVE_RAMDISK;
    case 0x9660UL:     // ISO 9660
    case 0x15013346UL: // UDF
        return DRIVE_CDROM;
    default:
        break;
    }
    std::string_view path = root;
    if (path.starts_with("/media/") || path.starts_with("/run/media/")) return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

} // namespace

DWORD GetLogicalDriveStringsA(DWORD bufferLength, LPSTR buffer) {
    std::string all = DriveStrings();
    DWORD needed = static_cast<DWORD>(all.size() + 1);
    if (buffer == nullptr || bufferLength < needed) return needed;
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = '\0';
    return static_cast<DWORD>(all.size());
}

UINT GetDriveTypeA(LPCSTR rootPathName) {
    if (rootPathName == nullptr || !std::isalpha(static_cast<unsigned char>(rootPathName[0])) || rootPathName[1] != ':') {
        return DRIVE_NO_ROOT_DIR;
    }
    std::string_view rest = rootPathName + 2;
    if (!rest.empty() && rest != "\\") return DRIVE_NO_ROOT_DIR;
    auto drives = ostrana::MappedDrives();
    const auto* drive = FindDrive(drives, static_cast<char>(std::toupper(static_cast<unsigned char>(rootPathName[0]))));
    struct stat info {};
    if (drive == nullptr || ::stat(drive->root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return DRIVE_NO_ROOT_DIR;
    return KindOfFileSystem(drive->root);
}
