// Upload: destination listing, folders parent first, then each file announced with the length
// it has when opened and sent in blocks of 4000 bytes.
#include "transfer/RunUpload.h"

#include <algorithm>
#include <vector>

#include "misc/ReportBox.h"
#include "platform/base/Thread.h"
#include "session/DecimalText.h"
#include "session/ServerSession.h"
#include "session/SplitFields.h"
#include "transfer/CheckOverwrite.h"

namespace {

constexpr DWORD kUploadBlock = 4000;

// Every line of a listing goes into the destination list; a short line is an invalid argument,
// a line whose size is no decimal figure is passed over.
void AddListing(TransferList& destination, const std::string& folder, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::vector<std::string> elements;
        SplitFields(line, elements, 6, false, ' ');
        if (elements.size() >= 6 && !ReadDecimal(elements[1])) {
            continue;
        }
        destination.AddListingEntry(folder, elements);
    }
}

void ListDestination(TransferJob& job, TransferList& destination) {
    std::vector<std::string> lines;
    int status = 0;
    if (job.Session().ListFolder(job.m_strDestination, lines, status)) {
        AddListing(destination, job.m_strDestination, lines);
    }
}

// Lists each folder item's server folder, creating it when the listing has no line.
void PrepareFolders(TransferJob& job, ShellProgressDialog& dialog, TransferList& destination) {
    const TransferList& items = *job.m_pItems;
    for (std::size_t i = 0; i < items.Count() && !JobCancelled(job, dialog); ++i) {
        const TransferItem& item = items.ItemAt(i);
        if (!item.IsFolder()) {
            continue;
        }
        std::string folder = ServerFolderOf(job, item);
        std::vector<std::string> lines;
        int status = 0;
        job.Session().ListFolder(folder, lines, status);
        if (!lines.empty()) {
            AddListing(destination, folder, lines);
        } else {
            const std::string& relative = item.m_strRelativeFolder;
            std::size_t cut = relative.find_last_of('/');
            std::string parent = job.m_strDestination + (cut == std::string::npos ? "" : relative.substr(0, cut + 1));
            job.Session().MakeFolder(parent, cut == std::string::npos ? relative : relative.substr(cut + 1));
        }
        Sleep(0);
    }
}

enum class BodyResult { Sent, SendFailed, Shrank, Cancelled };

// Reads the file 64 KiB at a time and hands it out in blocks of up to 4000 bytes: memory stays
// bounded, and the disk sees a sixteenth of the calls. 0 at the end of the file or on failure.
class BlockReader {
public:
    explicit BlockReader(HANDLE file) : m_file(file), m_buffer(kGather) {}
    DWORD Next(const char*& block, DWORD wanted) {
        if (m_next == m_filled) {
            DWORD read = 0;
            if (!ReadFile(m_file, m_buffer.data(), kGather, &read, nullptr)) {
                return 0;
            }
            m_next = 0;
            m_filled = read;
        }
        DWORD count = std::min(wanted, m_filled - m_next);
        block = m_buffer.data() + m_next;
        m_next += count;
        return count;
    }

private:
    static constexpr DWORD kGather = 64 * 1024;
    HANDLE m_file;
    std::vector<char> m_buffer;
    DWORD m_next = 0;
    DWORD m_filled = 0;
};

// Sends exactly `length` bytes of the open file; the position advances with every block.
BodyResult SendFileBody(TransferJob& job, ShellProgressDialog& dialog, HANDLE file, ULONGLONG length, ULONGLONG& position) {
    BlockReader reader(file);
    ULONGLONG remaining = length;
    while (remaining != 0) {
        if (JobCancelled(job, dialog)) {
            return BodyResult::Cancelled;
        }
        DWORD wanted = static_cast<DWORD>(std::min<ULONGLONG>(remaining, kUploadBlock));
        const char* block = nullptr;
        DWORD read = reader.Next(block, wanted);
        if (read == 0) {
            position += remaining;
            dialog.SetProgress(position);
            return BodyResult::Shrank;
        }
        int sent = job.Session().SendBody(block, static_cast<int>(read), read < remaining);
        if (sent <= 0) {
            position += remaining;
            dialog.SetProgress(position);
            return BodyResult::SendFailed;
        }
        position += static_cast<ULONGLONG>(sent);
        remaining -= read;
        dialog.SetProgress(position);
    }
    return BodyResult::Sent;
}

void UploadFile(TransferJob& job, ShellProgressDialog& dialog, const TransferList& destination, const TransferItem& item,
                ULONGLONG& position) {
    ServerSession& session = job.Session();
    std::string folder = ServerFolderOf(job, item);
    std::string name = item.FileName();
    dialog.SetLine(1, LoadAndFormat(106, name.c_str()));
    dialog.SetLine(2, LoadAndFormat(105, item.FolderPart().c_str(), folder.c_str()));
    if (CheckOverwrite(job, destination, folder, item)) {
        position += item.m_nSize;
        dialog.SetProgress(position);
        ++job.m_tally.skipped;
        return;
    }
    HANDLE file = CreateFileA(item.m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        WarnById(112, name.c_str());
        ++job.m_tally.failed;
        return;
    }
    // The length announced is the one the file has now; exactly that many bytes follow.
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    auto length = static_cast<ULONGLONG>(std::max<LONGLONG>(size.QuadPart, 0));
    if (length > kMaxProtocolFileSize) {
        CloseHandle(file);
        WarnById(3001, name.c_str());
        position += length;
        dialog.SetProgress(position);
        ++job.m_tally.failed;
        return;
    }
    if (!session.BeginUpload(folder, name, static_cast<std::int32_t>(length))) {
        CloseHandle(file);
        position += length;
        dialog.SetProgress(position);
        ++job.m_tally.failed;
        return;
    }
    BodyResult result = SendFileBody(job, dialog, file, length, position);
    CloseHandle(file);
    // A body cut short leaves the server waiting for bytes that never come: only a fresh
    // connection keeps the stream in step.
    session.FinishTransferFile(result != BodyResult::Sent);
    if (result == BodyResult::Sent) {
        ++job.m_tally.sent;
    } else if (result != BodyResult::Cancelled) {
        ++job.m_tally.failed;
    }
}

} // namespace

bool JobCancelled(TransferJob& job, ShellProgressDialog& dialog) {
    bool cancelled = dialog.Cancelled() || job.m_nRunning == 0;
    if (cancelled) {
        job.m_tally.cancelled = true;
    }
    return cancelled;
}

std::string ServerFolderOf(const TransferJob& job, const TransferItem& item) {
    const std::string& relative = item.m_strRelativeFolder;
    return relative.empty() ? job.m_strDestination : job.m_strDestination + relative + "/";
}

void RunUpload(TransferJob& job, ShellProgressDialog& dialog) {
    const TransferList& items = *job.m_pItems;
    ULONGLONG total = items.TotalSize();
    TransferList destination(1);
    destination.SetBaseFolder(job.m_strDestination);
    ListDestination(job, destination);
    PrepareFolders(job, dialog, destination);

    dialog.ResetTimer();
    dialog.SetRange(0, total);
    dialog.ResetTimer();
    ULONGLONG position = 0;
    for (std::size_t i = 0; i < items.Count() && !JobCancelled(job, dialog); ++i) {
        const TransferItem& item = items.ItemAt(i);
        if (item.IsFolder()) {
            continue;
        }
        UploadFile(job, dialog, destination, item, position);
        Sleep(0);
    }
}
