// Building download lists from server paths: the recursive collection of a server folder (the
// folder first, then its files and subfolders depth first, one listing per folder) and the list
// of a set of chosen paths. The server tree calls these; so does the command-line client.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "transfer/TransferList.h"

class ServerSession;

// What the caller knows of one chosen entry (the server list's row for it).
struct ServerEntryInfo {
    bool folder = false;
    std::string size, date, time;
};
// Looks an entry name of the base folder up; a name without a row counts as a file with empty texts.
using ServerEntryLookup = std::function<ServerEntryInfo(const std::string& name)>;

// Adds the folder `name` of `folderPath`, then everything below it. A failed listing leaves
// that folder's contents out; lines that do not split into six elements or whose size is no
// decimal figure are passed over. A name that is not plain is left out with all below it and
// recorded in the list's RejectedNames().
void CollectServerFolder(ServerSession& session, TransferList& list, const std::string& folderPath,
                         const std::string& name, const std::string& size, const std::string& date,
                         const std::string& time);

// The download list of full server paths: base folder = the first path up to its last "/".
std::unique_ptr<TransferList> BuildDownloadList(ServerSession& session, const std::vector<std::string>& paths,
                                                const ServerEntryLookup& lookup);

// A lookup that lists `folderPath` once and answers from its lines.
ServerEntryLookup ListingLookup(ServerSession& session, const std::string& folderPath);
