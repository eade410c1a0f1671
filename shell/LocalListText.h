// The Size and Modified texts of the local list where it computes them itself: whole kilobytes
// rounded up with the user's thousands separator, and the user's date and time pictures.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/FileTime.h"

// 0 to 1024 bytes give "1 KB"; 1025 give "2 KB"; 1,048,577 give "1,025 KB" with a comma.
std::string LocalSizeText(std::uint64_t bytes, const std::string& thousandsSeparator);
// "yyyy-MM-dd" -> "%Y-%m-%d": runs of separators are copied, other runs looked up (unknown runs
// are copied unchanged).
std::string PictureToTimeFormat(const std::string& picture);
// The last-write time, or the creation time when it is zero, in the user's short date and time
// pictures; "Invalid DateTime" when it is no valid time. At most 256 characters.
std::string LocalModifiedText(const FILETIME& lastWrite, const FILETIME& creation);
// The pictures as formats, read once per process.
const std::string& LocalDateTimeFormat();
const std::string& LocalThousandsSeparator();
