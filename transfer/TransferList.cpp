// Building lists: relative folders from the base folder, the insert order of each add mode, the
// local enumeration (folder, subfolders, files) and items made from listing lines.
#include "transfer/TransferList.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "platform/base/InvalidArgException.h"
#include "session/DecimalText.h"
#include "session/PlainName.h"

namespace {

std::int64_t SecondsOf(const FILETIME& time) { return static_cast<std::int64_t>(ostrana::FileTimeToUnix(time)); }

TransferItem LocalItemOf(const std::string& path, const WIN32_FIND_DATAA& data) {
    TransferItem item;
    item.m_strPath = path;
    item.m_dwAttributes = data.dwFileAttributes;
    item.m_nSize = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    item.m_tCreated = SecondsOf(data.ftCreationTime);
    item.m_tAccessed = SecondsOf(data.ftLastAccessTime);
    item.m_tModified = SecondsOf(data.ftLastWriteTime);
    return item;
}

int DigitsAt(const std::string& text, std::size_t at, std::size_t count) {
    if (text.size() < at + count) {
        return 0;
    }
    return std::atoi(text.substr(at, count).c_str());
}

// Date YYYYMMDD and time HHMMSS in local time; daylight saving is left to the system.
std::int64_t ListedTime(const std::string& dateText, const std::string& timeText) {
    std::tm parts{};
    parts.tm_year = DigitsAt(dateText, 0, 4) - 1900;
    parts.tm_mon = DigitsAt(dateText, 4, 2) - 1;
    parts.tm_mday = DigitsAt(dateText, 6, 2);
    parts.tm_hour = DigitsAt(timeText, 0, 2);
    parts.tm_min = DigitsAt(timeText, 2, 2);
    parts.tm_sec = DigitsAt(timeText, 4, 2);
    parts.tm_isdst = -1;
    std::time_t seconds = std::mktime(&parts);
    return seconds == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(seconds);
}

bool IsDotEntry(const char* name) { return std::string_view(name) == "." || std::string_view(name) == ".."; }

} // namespace

std::string TransferList::RelativeFolderOf(const TransferItem& item) const {
    std::string folder = item.FolderPart();
    if (m_strBaseFolder.empty() || folder.compare(0, m_strBaseFolder.size(), m_strBaseFolder) != 0) {
        return {};
    }
    std::string relative = folder.substr(m_strBaseFolder.size());
    char own = item.Separator();
    char other = item.IsServer() ? '\\' : '/';
    while (!relative.empty() && (relative.back() == own || relative.front() == own)) {
        relative.erase(relative.back() == own ? relative.size() - 1 : 0, 1);
    }
    std::replace(relative.begin(), relative.end(), own, other);
    return relative;
}

std::size_t TransferList::Add(const TransferItem& item, int addMode) {
    TransferItem copy = item;
    copy.m_strBaseFolder = m_strBaseFolder;
    copy.m_strRelativeFolder = RelativeFolderOf(copy);
    auto position = m_items.end();
    switch (addMode) {
    case AscendingSize:
        position = std::upper_bound(m_items.begin(), m_items.end(), copy,
                                    [](const TransferItem& a, const TransferItem& b) { return a.m_nSize < b.m_nSize; });
        break;
    case DescendingSize:
        position = std::upper_bound(m_items.begin(), m_items.end(), copy,
                                    [](const TransferItem& a, const TransferItem& b) { return a.m_nSize > b.m_nSize; });
        break;
    case AscendingPath:
        position = std::upper_bound(m_items.begin(), m_items.end(), copy,
                                    [](const TransferItem& a, const TransferItem& b) { return a.m_strPath < b.m_strPath; });
        break;
    case DescendingPath:
        position = std::upper_bound(m_items.begin(), m_items.end(), copy,
                                    [](const TransferItem& a, const TransferItem& b) { return a.m_strPath > b.m_strPath; });
        break;
    default: break;
    }
    m_indexed = false;
    return static_cast<std::size_t>(m_items.insert(position, std::move(copy)) - m_items.begin());
}

namespace {

// A relative folder in the other side's style: "/" after the first character means it came from
// a local list and turns into "\"; otherwise "\" turns into "/".
std::string OtherStyle(std::string folder) {
    if (folder.find('/', 1) != std::string::npos) {
        std::replace(folder.begin(), folder.end(), '/', '\\');
    } else {
        std::replace(folder.begin(), folder.end(), '\\', '/');
    }
    return folder;
}

std::string SameFileKey(const std::string& relativeFolder, const std::string& fileName) {
    return relativeFolder + '\0' + fileName;
}

} // namespace

std::optional<std::size_t> TransferList::FindSameFile(const TransferItem& item) const {
    if (!m_indexed) {
        m_sameFileIndex.clear();
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            const TransferItem& entry = m_items[i];
            m_sameFileIndex.emplace(SameFileKey(OtherStyle(entry.m_strRelativeFolder), entry.FileName()), i);
        }
        m_indexed = true;
    }
    auto found = m_sameFileIndex.find(SameFileKey(item.m_strRelativeFolder, item.FileName()));
    return found == m_sameFileIndex.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

bool TransferList::AddLocalPath(const std::string& path, int addMode) {
    if (IsServerSide()) {
        return false;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(find);
    Add(LocalItemOf(path, data), addMode);
    return true;
}

bool TransferList::AddLocalFolder(const std::string& folderPath, const std::string& pattern, bool includeSelf, bool recurse,
                                  const std::atomic<bool>* cancel, int* counter, int addMode) {
    if (IsServerSide()) {
        return false;
    }
    AddLocalFolderContents(folderPath, pattern, includeSelf, recurse, cancel, counter, addMode);
    return true;
}

void TransferList::AddLocalFolderContents(const std::string& folderPath, const std::string& pattern, bool includeSelf,
                                          bool recurse, const std::atomic<bool>* cancel, int* counter, int addMode) {
    auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    auto added = [counter] {
        if (counter != nullptr) {
            ++*counter;
        }
    };
    WIN32_FIND_DATAA data;
    if (includeSelf || recurse) {
        HANDLE find = FindFirstFileA((folderPath + "*.*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            if (includeSelf) {
                Add(LocalItemOf(folderPath + data.cFileName, data), addMode);
                added();
            }
            while (recurse && !cancelled() && FindNextFileA(find, &data)) {
                bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                if (folder && !link && !IsDotEntry(data.cFileName)) {
                    AddLocalFolderContents(folderPath + data.cFileName + "\\", pattern, includeSelf, recurse, cancel,
                                           counter, addMode);
                }
            }
            FindClose(find);
        }
    }
    HANDLE find = FindFirstFileA((folderPath + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (cancelled()) {
            break;
        }
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            Add(LocalItemOf(folderPath + data.cFileName, data), addMode);
            added();
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

bool TransferList::AddServerEntry(bool folder, const std::string& folderPath, const std::string& name,
                                  const std::string& sizeText, const std::string& dateText, const std::string& timeText) {
    if (!IsServerSide()) {
        return false;
    }
    if (!IsPlainName(name)) {
        m_rejectedNames.push_back(folderPath + name);
        return false;
    }
    TransferItem item;
    item.m_nServer = 1;
    item.m_dwAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    // A folder entry names the folder itself, so its folder part and relative folder include it.
    item.m_strPath = folderPath + name + (folder ? "/" : "");
    // An entry without a listed size (no row for it) counts 0; the file's header decides later.
    item.m_nSize = folder ? 0 : ReadDecimal(sizeText).value_or(0);
    item.m_tModified = ListedTime(dateText, timeText);
    Add(item);
    return true;
}

bool TransferList::AddListingEntry(const std::string& folderPath, const std::vector<std::string>& elements) {
    if (elements.size() < 6) {
        throw CInvalidArgException();
    }
    return AddServerEntry(elements[0] == "D", folderPath, elements[5], elements[1], elements[3], elements[4]);
}

ULONGLONG TransferList::TotalSize() const {
    ULONGLONG total = 0;
    for (const TransferItem& item : m_items) {
        if (!item.IsFolder()) {
            total += item.m_nSize;
        }
    }
    return total;
}

const TransferItem& TransferList::ItemAt(std::size_t index) const {
    if (index >= m_items.size()) {
        throw CInvalidArgException();
    }
    return m_items[index];
}

TransferItem& TransferList::ItemAt(std::size_t index) {
    if (index >= m_items.size()) {
        throw CInvalidArgException();
    }
    return m_items[index];
}
