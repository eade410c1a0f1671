// Image resources: button bitmaps by caption and state ("UP_U", "UP_D", "UP_F", "UP_X"), numbered
// bitmaps and icons, the file-type icons of the system image list, the link cursor and the two
// transfer animations. Sizes are those the windows lay out with.
#include "res/Images.h"

namespace ostrana {
namespace {

constexpr ImageResource kImages[] = {
    {ImageKind::Bitmap, 0, "UP_U", "buttons/UP_U.svg", 60, 20},
    {ImageKind::Bitmap, 0, "UP_D", "buttons/UP_D.svg", 60, 20},
    {ImageKind::Bitmap, 0, "UP_F", "buttons/UP_F.svg", 60, 20},
    {ImageKind::Bitmap, 0, "UP_X", "buttons/UP_X.svg", 60, 20},
    {ImageKind::Bitmap, 0, "DOWN_U", "buttons/DOWN_U.svg", 60, 20},
    {ImageKind::Bitmap, 0, "DOWN_D", "buttons/DOWN_D.svg", 60, 20},
    {ImageKind::Bitmap, 0, "DOWN_F", "buttons/DOWN_F.svg", 60, 20},
    {ImageKind::Bitmap, 0, "DOWN_X", "buttons/DOWN_X.svg", 60, 20},
    {ImageKind::Bitmap, 0, "UPFOLDER_U", "buttons/UPFOLDER_U.svg", 17, 17},
    {ImageKind::Bitmap, 0, "UPFOLDER_D", "buttons/UPFOLDER_D.svg", 17, 17},
    {ImageKind::Bitmap, 0, "UPFOLDER_F", "buttons/UPFOLDER_F.svg", 17, 17},
    {ImageKind::Bitmap, 0, "UPFOLDER_X", "buttons/UPFOLDER_X.svg", 17, 17},
    {ImageKind::Bitmap, 0, "NEWFOLDER_U", "buttons/NEWFOLDER_U.svg", 17, 17},
    {ImageKind::Bitmap, 0, "NEWFOLDER_D", "buttons/NEWFOLDER_D.svg", 17, 17},
    {ImageKind::Bitmap, 0, "NEWFOLDER_F", "buttons/NEWFOLDER_F.svg", 17, 17},
    {ImageKind::Bitmap, 0, "NEWFOLDER_X", "buttons/NEWFOLDER_X.svg", 17, 17},
    {ImageKind::Bitmap, 0, "ADDFOLDER_U", "buttons/ADDFOLDER_U.svg", 17, 17},
    {ImageKind::Bitmap, 0, "ADDFOLDER_D", "buttons/ADDFOLDER_D.svg", 17, 17},
    {ImageKind::Bitmap, 0, "ADDFOLDER_F", "buttons/ADDFOLDER_F.svg", 17, 17},
    {ImageKind::Bitmap, 0, "ADDFOLDER_X", "buttons/ADDFOLDER_X.svg", 17, 17},
    {ImageKind::Bitmap, 0, "LOGIN_U", "buttons/LOGIN_U.svg", 60, 24},
    {ImageKind::Bitmap, 0, "LOGIN_D", "buttons/LOGIN_D.svg", 60, 24},
    {ImageKind::Bitmap, 0, "LOGIN_F", "buttons/LOGIN_F.svg", 60, 24},
    {ImageKind::Bitmap, 0, "LOGIN_X", "buttons/LOGIN_X.svg", 60, 24},
    {ImageKind::Bitmap, 1, nullptr, "bitmaps/toolbox.svg", 16, 15},
    {ImageKind::Bitmap, 204, nullptr, "bitmaps/logo.svg", 120, 40},
    {ImageKind::Bitmap, 208, nullptr, "bitmaps/gauge.svg", 202, 11},
    {ImageKind::Bitmap, 220, nullptr, "bitmaps/gauge_fill.svg", 200, 9},
    {ImageKind::Bitmap, 213, nullptr, "bitmaps/word_user.svg", 30, 9},
    {ImageKind::Bitmap, 215, nullptr, "bitmaps/word_level.svg", 34, 9},
    {ImageKind::Bitmap, 221, nullptr, "bitmaps/word_path.svg", 30, 9},
    {ImageKind::Bitmap, 243, nullptr, "bitmaps/addfolder.svg", 32, 32},
    {ImageKind::Icon, 223, nullptr, "filetypes/network.svg", 32, 32},
    {ImageKind::Icon, 225, nullptr, "icons/replace.svg", 32, 32},
    {ImageKind::Icon, 232, nullptr, "filetypes/drive.svg", 32, 32},
    {ImageKind::Icon, 235, nullptr, "filetypes/folder.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_folder", "filetypes/folder.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_folder_open", "filetypes/folder_open.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_file", "filetypes/file.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_text", "filetypes/text.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_image", "filetypes/image.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_audio", "filetypes/audio.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_video", "filetypes/video.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_archive", "filetypes/archive.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_document", "filetypes/document.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_program_file", "filetypes/program_file.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_drive", "filetypes/drive.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_computer", "filetypes/computer.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_desktop", "filetypes/desktop.svg", 32, 32},
    {ImageKind::Icon, 0, "filetype_network", "filetypes/network.svg", 32, 32},
    {ImageKind::Cursor, 1011, nullptr, "cursors/hand.svg", 32, 32},
    {ImageKind::Animation, 101, nullptr, "animations/download.svg", 272, 60},
    {ImageKind::Animation, 102, nullptr, "animations/upload.svg", 272, 60},
};

} // namespace

std::span<const ImageResource> OstranaImages() { return kImages; }

} // namespace ostrana
