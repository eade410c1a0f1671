// The ordered items of one transfer, with the side they live on and the base folder that their
// relative folders are measured from. A recursive local enumeration always adds a folder before
// its contents, which is what lets a transfer create parents before children.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "transfer/TransferItem.h"

class TransferList {
public:
    enum AddMode { AppendMode = 0, AppendMode1 = 1, AscendingSize = 2, DescendingSize = 3, AscendingPath = 4, DescendingPath = 5 };

    explicit TransferList(int serverSide = 0) : m_nServerSide(serverSide) {}

    bool IsServerSide() const { return m_nServerSide != 0; }
    void SetBaseFolder(const std::string& baseFolder) { m_strBaseFolder = baseFolder; }
    const std::string& BaseFolder() const { return m_strBaseFolder; }

    // Copies the item in with base and relative folder taken from this list; returns its index.
    std::size_t Add(const TransferItem& item, int addMode = AppendMode);
    // One local file by its path; false on a server-side list or when the path cannot be found.
    bool AddLocalPath(const std::string& path, int addMode = AppendMode);
    // Enumerates a local folder (path ending in "\"): its own "." entry when asked, then each
    // subfolder the same way when recursing, then the files matching the pattern. Links to
    // folders are not followed; links to files count as files. Stops when *cancel becomes true.
    bool AddLocalFolder(const std::string& folderPath, const std::string& pattern = "*.*", bool includeSelf = true,
                        bool recurse = true, const std::atomic<bool>* cancel = nullptr, int* counter = nullptr,
                        int addMode = AppendMode);
    // A server entry under folderPath ("/"-terminated): size, date YYYYMMDD and time HHMMSS as listed.
    // A name that is not one plain name (IsPlainName) is left out and its full server path kept
    // in RejectedNames(); false then.
    bool AddServerEntry(bool folder, const std::string& folderPath, const std::string& name, const std::string& sizeText,
                        const std::string& dateText, const std::string& timeText);
    // A listing line already split into its elements; fewer than six raise CInvalidArgException.
    bool AddListingEntry(const std::string& folderPath, const std::vector<std::string>& elements);

    // The first item with the same file name as `item` whose relative folder, brought into the
    // item's separator style, equals the item's relative folder. Built into an index on first use
    // after a change, so a job's questions cost linear time, not files times entries.
    std::optional<std::size_t> FindSameFile(const TransferItem& item) const;

    // Server entries left out for their names, in the order they were offered.
    const std::vector<std::string>& RejectedNames() const { return m_rejectedNames; }

    // Sum of the file sizes in bytes (folders count 0).
    ULONGLONG TotalSize() const;
    std::size_t Count() const { return m_items.size(); }
    // Raises CInvalidArgException for an index outside the list.
    const TransferItem& ItemAt(std::size_t index) const;
    TransferItem& ItemAt(std::size_t index);

private:
    std::string RelativeFolderOf(const TransferItem& item) const;
    void AddLocalFolderContents(const std::string& folderPath, const std::string& pattern, bool includeSelf, bool recurse,
                                const std::atomic<bool>* cancel, int* counter, int addMode);

    int m_nServerSide;
    std::string m_strBaseFolder;
    std::vector<TransferItem> m_items;
    std::vector<std::string> m_rejectedNames;
    mutable std::unordered_map<std::string, std::size_t> m_sameFileIndex;
    mutable bool m_indexed = false;
};
