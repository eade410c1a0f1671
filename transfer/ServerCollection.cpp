// Depth-first collection of server folders: one listing per folder, nothing listed twice.
#include "transfer/ServerCollection.h"

#include <unordered_map>

#include "session/ListingEntry.h"
#include "session/ServerSession.h"

void CollectServerFolder(ServerSession& session, TransferList& list, const std::string& folderPath,
                         const std::string& name, const std::string& size, const std::string& date,
                         const std::string& time) {
    // A refused name is never joined into a server path to be listed.
    if (!list.AddServerEntry(true, folderPath, name, size, date, time)) {
        return;
    }
    std::string path = folderPath + name + "/";
    std::vector<std::string> lines;
    int status = 0;
    session.ListFolder(path, lines, status);
    for (const std::string& line : lines) {
        auto entry = ListingEntry::Parse(line);
        if (!entry) {
            continue;
        }
        if (entry->IsFolder()) {
            CollectServerFolder(session, list, path, entry->Name(), entry->SizeText(), entry->DateText(), entry->TimeText());
        } else {
            list.AddServerEntry(false, path, entry->Name(), entry->SizeText(), entry->DateText(), entry->TimeText());
        }
    }
}

std::unique_ptr<TransferList> BuildDownloadList(ServerSession& session, const std::vector<std::string>& paths,
                                                const ServerEntryLookup& lookup) {
    if (paths.empty()) {
        return nullptr;
    }
    auto list = std::make_unique<TransferList>(1);
    std::size_t cut = paths.front().find_last_of('/');
    std::string base = cut == std::string::npos ? std::string() : paths.front().substr(0, cut + 1);
    list->SetBaseFolder(base);
    for (const std::string& path : paths) {
        std::string name = path.size() >= base.size() ? path.substr(base.size()) : path;
        ServerEntryInfo info = lookup ? lookup(name) : ServerEntryInfo{};
        if (info.folder) {
            CollectServerFolder(session, *list, base, name, info.size, info.date, info.time);
        } else {
            list->AddServerEntry(false, base, name, info.size, info.date, info.time);
        }
    }
    return list;
}

ServerEntryLookup ListingLookup(ServerSession& session, const std::string& folderPath) {
    std::vector<std::string> lines;
    int status = 0;
    session.ListFolder(folderPath, lines, status);
    auto entries = std::make_shared<std::unordered_map<std::string, ServerEntryInfo>>();
    for (const std::string& line : lines) {
        if (auto entry = ListingEntry::Parse(line)) {
            entries->emplace(entry->Name(), ServerEntryInfo{entry->IsFolder(), entry->SizeText(), entry->DateText(), entry->TimeText()});
        }
    }
    return [entries](const std::string& name) {
        auto found = entries->find(name);
        return found == entries->end() ? ServerEntryInfo{} : found->second;
    };
}
