// The column texts of a listed server entry: the size in whole kilobytes with one thousands
// separator, and the date with the 오전/오후 hour and unpadded minutes.
#pragma once

#include <string>

// "0KB", "1KB" for 1 to 1024 bytes, "999KB", "1,000KB", "1024,000KB": bytes rounded up to
// kilobytes, and only one separator ever written.
std::string FormatSizeKB(const std::string& sizeText);
// "2007-03-05 오후 2:7" from "20070305" and "140705": hours up to 12 are 오전, later ones 오후.
std::string FormatServerDate(const std::string& dateText, const std::string& timeText);
