// The facts the namespace tells of a place: attributes, display names, type names, icon kinds and
// the column texts of a folder's details.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/base/FileTime.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItem.h"

namespace ostrana::shellns {

struct EntryStat {
    bool directory = false; // the entry or, for a link, its target
    bool link = false;
    bool readOnly = false; // no write bit for the owner
    std::uint64_t size = 0;
    FILETIME modified{};
    FILETIME accessed{};
};

// Nothing when the entry is gone (a dangling link still answers, as a file).
std::optional<EntryStat> StatHostPath(const std::string& hostPath);

// Whether a directory holds at least one folder.
bool HasSubfolder(const std::string& hostPath);

// The SFGAO_ bits of `place` among `asked`; nothing for SFGAO_VALIDATE on a place that is gone.
std::optional<SFGAOF> PlaceAttributes(const Place& place, SFGAOF asked);

// ANSI texts.
std::string PlaceDisplayName(const Place& place, SHGDNF flags, bool showExtensions);
std::string PlaceTypeName(const Place& place);
// The kind FileInfo keeps icons by: "folder", "openfolder", "drive", "computer", "desktop",
// "internet", an extension with its dot, or "file".
std::string PlaceIconKind(const Place& place, bool open);

// The details columns: 이름, 크기, 종류, 수정한 날짜.
inline constexpr UINT kDetailColumns = 4;
std::string DetailHeading(UINT column);
std::string DetailText(const Place& place, UINT column, bool showExtensions);
// "1 KB" up to 1024 bytes, whole kilobytes rounded up, with the locale's thousands separator.
std::string KilobyteText(std::uint64_t bytes);
// The digits with the locale's thousands separator.
std::string GroupedDigits(std::uint64_t value);

// A file time as the details show it ("2026-12-09 오후 12:00", ANSI); empty when invalid.
std::string FileTimeText(const FILETIME& time);

// The user's show-extensions flag, read now.
bool ShowExtensionsNow();

} // namespace ostrana::shellns
