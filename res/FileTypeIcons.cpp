#include "res/FileTypeIcons.h"

namespace ostrana {
namespace {

constexpr FileTypeIcon kFileTypeIcons[] = {
    {"folder", "icon filetype_folder"},     {"drive", "icon filetype_drive"},       {"file", "icon filetype_file"},
    {".txt", "icon filetype_text"},         {".log", "icon filetype_text"},         {".ini", "icon filetype_text"},
    {".csv", "icon filetype_text"},         {".jpg", "icon filetype_image"},        {".jpeg", "icon filetype_image"},
    {".png", "icon filetype_image"},        {".gif", "icon filetype_image"},        {".bmp", "icon filetype_image"},
    {".mp3", "icon filetype_audio"},        {".wav", "icon filetype_audio"},        {".wma", "icon filetype_audio"},
    {".avi", "icon filetype_video"},        {".mpg", "icon filetype_video"},        {".mpeg", "icon filetype_video"},
    {".mp4", "icon filetype_video"},        {".wmv", "icon filetype_video"},        {".zip", "icon filetype_archive"},
    {".rar", "icon filetype_archive"},      {".7z", "icon filetype_archive"},       {".gz", "icon filetype_archive"},
    {".tar", "icon filetype_archive"},      {".alz", "icon filetype_archive"},      {".doc", "icon filetype_document"},
    {".hwp", "icon filetype_document"},     {".xls", "icon filetype_document"},     {".ppt", "icon filetype_document"},
    {".pdf", "icon filetype_document"},     {".exe", "icon filetype_program_file"}, {".com", "icon filetype_program_file"},
    {".bat", "icon filetype_program_file"}, {"openfolder", "icon filetype_folder_open"},
    {"computer", "icon filetype_computer"}, {"desktop", "icon filetype_desktop"},
    {"internet", "icon filetype_network"},
};

} // namespace

std::span<const FileTypeIcon> OstranaFileTypeIcons() { return kFileTypeIcons; }

} // namespace ostrana
