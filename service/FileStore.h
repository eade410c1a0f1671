// The file operations behind the commands, on locations already resolved and permitted by
// StoragePaths. Area roots themselves can be listed but never renamed, removed or replaced.
#pragma once

#include "service/StoragePaths.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace ostrana::service {

enum class StoreError { None, NotFound, NotFolder, IsFolder, Exists, AreaRoot, ParentMissing, TooLarge, Failed };

const char* DescribeStoreError(StoreError error);

class FileStore {
public:
    // Creates the area's root folder if it does not exist yet (a new account, a new club).
    static StoreError EnsureAreaRoot(const StorageLocation& location);

    // Hands every listing line, "\n" included, to `emit`, in directory order and without "." and "..".
    // Names that could not travel safely on the wire (control characters, quotes...) are left out.
    // `emit` returning false stops the listing.
    static StoreError List(const StorageLocation& location, const std::function<bool(std::string_view)>& emit);

    static StoreError MakeFolder(const StorageLocation& location);
    static StoreError Rename(const StorageLocation& location, std::string_view newName);
    // A folder goes with everything inside it.
    static StoreError Remove(const StorageLocation& location);

    // Whether a file may be written at the location; reports the size of the file it would replace.
    static StoreError CheckUploadTarget(const StorageLocation& location, std::uint64_t& replacedBytes);
    // Opens a regular file of at most 2^31-1 bytes (the protocol's size field) for reading.
    static StoreError OpenForDownload(const StorageLocation& location, int& fd, std::uint64_t& size);

    // "<D|F> <size> <owner> <YYYYMMDD> <HHMMSS> <name>\n" with the time in the service's local time.
    static std::string FormatListingLine(bool folder, std::uint64_t size, std::string_view owner,
                                         std::time_t modified, std::string_view name);
};

} // namespace ostrana::service
