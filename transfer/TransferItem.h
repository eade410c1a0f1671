// One file or folder to move: a local item ("\" separators) or a server entry ("/" separators).
// The relative folder is written with the other side's separator, ready to be appended to a
// destination path; a folder item's relative folder includes the folder's own name.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/FileApi.h"

class TransferItem {
public:
    bool IsFolder() const { return m_dwAttributes != INVALID_FILE_ATTRIBUTES && (m_dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsServer() const { return m_nServer != 0; }
    char Separator() const { return IsServer() ? '/' : '\\'; }

    // The name and extension part of the path ("." for a folder's own entry, empty for a server folder).
    std::string FileName() const;
    // The drive and directory part of the path, separator included.
    std::string FolderPart() const;

    int m_nTag = 0;
    std::string m_strPath;
    DWORD m_dwAttributes = INVALID_FILE_ATTRIBUTES;
    ULONGLONG m_nSize = 0;
    std::int64_t m_tCreated = 0;
    std::int64_t m_tAccessed = 0;
    std::int64_t m_tModified = 0;
    int m_nServer = 0;
    std::string m_strBaseFolder;
    std::string m_strRelativeFolder;
};
