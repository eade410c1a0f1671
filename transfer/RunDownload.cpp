// Download: local folders first, then each file through a temporary file beside its target. The
// connection is read exactly to the end of each body, so the next header starts in step.
#include "transfer/RunDownload.h"

#include <algorithm>
#include <vector>

#include "misc/ReportBox.h"
#include "platform/base/Thread.h"
#include "session/PlainName.h"
#include "session/ServerSession.h"
#include "transfer/CheckOverwrite.h"
#include "transfer/PartialFile.h"
#include "transfer/RunUpload.h"

namespace {

constexpr int kDownloadBlock = 4096;
// A report names this many refused entries at most, so a hostile listing cannot flood it.
constexpr std::size_t kNamedRefusals = 10;

std::string LocalPathOf(const TransferJob& job, const TransferItem& item) {
    std::string folder = LocalFolderOf(job, item);
    return item.IsFolder() ? folder : folder + "\\" + item.FileName();
}

// A refused name may hold control characters: they never reach the screen or the terminal.
std::string Printable(std::string name) {
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return name;
}

// The entries whose local path would not lie under the destination folder are marked; they and
// the names the list refused are named in one report for the job and count as failed.
std::vector<bool> RefuseStrayEntries(TransferJob& job) {
    const TransferList& items = *job.m_pItems;
    std::vector<std::string> refused = items.RejectedNames();
    std::vector<bool> stray(items.Count(), false);
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const TransferItem& item = items.ItemAt(i);
        if (!LiesUnderFolder(LocalPathOf(job, item), job.m_strDestination)) {
            stray[i] = true;
            refused.push_back(item.m_strPath);
        }
    }
    if (refused.empty()) {
        return stray;
    }
    std::string names;
    for (std::size_t i = 0; i < refused.size() && i < kNamedRefusals; ++i) {
        names += (i == 0 ? "" : ", ") + Printable(refused[i]);
    }
    if (refused.size() > kNamedRefusals) {
        names += ", ...";
    }
    job.m_tally.failed += static_cast<int>(refused.size());
    WarnById(3002, static_cast<int>(refused.size()), names.c_str());
    return stray;
}

void PrepareFolders(TransferJob& job, ShellProgressDialog& dialog, TransferList& destination,
                    const std::vector<bool>& stray) {
    const TransferList& items = *job.m_pItems;
    for (std::size_t i = 0; i < items.Count() && !JobCancelled(job, dialog); ++i) {
        const TransferItem& item = items.ItemAt(i);
        if (!item.IsFolder() || stray[i]) {
            continue;
        }
        std::string folder = LocalFolderOf(job, item);
        DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            CreateDirectoryA(folder.c_str(), nullptr);
        } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            // Every server folder of the job is visited here, so its own files are enough.
            destination.AddLocalFolder(folder + "\\", "*.*", false, false);
        }
    }
}

enum class FileResult { Done, Skipped, Failed, Cancelled, EndJob };

// A folder or a read-only file of the target's name cannot be written over; that is found out
// before the body comes, as it would be if the target itself were opened.
bool CanReplace(const std::string& localPath) {
    DWORD attributes = GetFileAttributesA(localPath.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

bool WriteAll(HANDLE file, const char* bytes, DWORD length) {
    DWORD written = 0;
    return WriteFile(file, bytes, length, &written, nullptr) && written == length;
}

// Gathers the received blocks into writes of up to 64 KiB: memory stays bounded, and the disk
// sees a sixteenth of the calls.
class BlockWriter {
public:
    explicit BlockWriter(HANDLE file) : m_file(file) { m_buffer.reserve(kGather); }
    bool Write(const char* bytes, std::size_t length) {
        if (m_buffer.size() + length > kGather && !Flush()) {
            return false;
        }
        m_buffer.insert(m_buffer.end(), bytes, bytes + length);
        return true;
    }
    bool Flush() {
        bool written = m_buffer.empty() || WriteAll(m_file, m_buffer.data(), static_cast<DWORD>(m_buffer.size()));
        m_buffer.clear();
        return written;
    }

private:
    static constexpr std::size_t kGather = 64 * 1024;
    HANDLE m_file;
    std::vector<char> m_buffer;
};

// Receives the rest of the body into the open file; exactly `remaining` bytes are taken from the
// connection, so the trailer behind them stays for FinishTransferFile.
FileResult ReceiveRest(TransferJob& job, ShellProgressDialog& dialog, BlockWriter& file, ULONGLONG remaining,
                       ULONGLONG& position, char* buffer) {
    while (remaining >= 1) {
        if (JobCancelled(job, dialog)) {
            return FileResult::Cancelled;
        }
        int wanted = static_cast<int>(std::min<ULONGLONG>(remaining, kDownloadBlock));
        int got = job.Session().ReceiveBody(buffer, wanted);
        if (got <= 0) {
            position += remaining;
            dialog.SetProgress(position);
            return FileResult::Failed;
        }
        if (!file.Write(buffer, static_cast<std::size_t>(got))) {
            position += remaining;
            dialog.SetProgress(position);
            return FileResult::Failed;
        }
        position += static_cast<ULONGLONG>(got);
        remaining -= static_cast<ULONGLONG>(got);
        dialog.SetProgress(position);
    }
    return FileResult::Done;
}

FileResult DownloadFile(TransferJob& job, ShellProgressDialog& dialog, const TransferList& destination,
                        const TransferItem& item, ULONGLONG& position) {
    ServerSession& session = job.Session();
    std::string folder = LocalFolderOf(job, item);
    std::string name = item.FileName();
    dialog.SetLine(1, LoadAndFormat(106, name.c_str()));
    dialog.SetLine(2, LoadAndFormat(105, item.FolderPart().c_str(), folder.c_str()));
    if (CheckOverwrite(job, destination, folder, item)) {
        position += item.m_nSize;
        dialog.SetProgress(position);
        return FileResult::Skipped;
    }
    std::string localPath = folder + "\\" + name;
    auto skipFailed = [&] {
        position += item.m_nSize;
        dialog.SetProgress(position);
        return FileResult::Failed;
    };
    if (item.m_nSize > kMaxProtocolFileSize) {
        WarnById(3001, name.c_str());
        return skipFailed();
    }
    char buffer[kDownloadBlock] = {};
    int firstBlock = 0;
    std::int32_t fileSize = 0;
    if (!session.BeginDownload(item.m_strPath, buffer, firstBlock, fileSize)) {
        return skipFailed();
    }
    if (fileSize < 0) {
        session.CloseTransfer(); // a size the protocol cannot describe: the body cannot be followed
        WarnById(3001, name.c_str());
        return skipFailed();
    }
    auto cannotCreate = [&] {
        session.CloseTransfer(); // the body is still on its way
        WarnById(3000, localPath.c_str());
        return FileResult::EndJob;
    };
    // A numbered temporary name differs only inside its last component: one check covers all.
    if (!CanReplace(localPath) || !LiesUnderFolder(PartialPathOf(folder, name), job.m_strDestination)) {
        return cannotCreate();
    }
    PartialFile file(folder, name);
    if (!file.IsOpen()) {
        return cannotCreate();
    }
    FileResult result;
    auto size = static_cast<ULONGLONG>(fileSize);
    if (size < static_cast<ULONGLONG>(firstBlock)) {
        // The whole file and its trailer came with the header.
        result = WriteAll(file.Handle(), buffer, static_cast<DWORD>(size)) ? FileResult::Done : FileResult::Failed;
        position += size;
        dialog.SetProgress(position);
    } else {
        BlockWriter writer(file.Handle());
        bool written = writer.Write(buffer, static_cast<std::size_t>(firstBlock));
        position += static_cast<ULONGLONG>(firstBlock);
        dialog.SetProgress(position);
        result = ReceiveRest(job, dialog, writer, size - static_cast<ULONGLONG>(firstBlock), position, buffer);
        written = writer.Flush() && written;
        if (!written && result == FileResult::Done) {
            result = FileResult::Failed;
        }
        // Anything but a whole body leaves the connection out of step: close it then.
        session.FinishTransferFile(result != FileResult::Done);
    }
    // Anything short of a whole file leaves the target as it was; the temporary file goes with `file`.
    if (result == FileResult::Done && !file.Commit()) {
        WarnById(3000, localPath.c_str());
        result = FileResult::Failed;
    }
    return result;
}

} // namespace

std::string LocalFolderOf(const TransferJob& job, const TransferItem& item) {
    std::string folder = job.m_strDestination + item.m_strRelativeFolder;
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

void RunDownload(TransferJob& job, ShellProgressDialog& dialog) {
    const TransferList& items = *job.m_pItems;
    ULONGLONG total = items.TotalSize();
    TransferList destination(0);
    destination.SetBaseFolder(job.m_strDestination);
    destination.AddLocalFolder(job.m_strDestination, "*.*", false, false);
    std::vector<bool> stray = RefuseStrayEntries(job);
    PrepareFolders(job, dialog, destination, stray);

    dialog.ResetTimer();
    dialog.SetRange(0, total);
    dialog.ResetTimer();
    ULONGLONG position = 0;
    for (std::size_t i = 0; i < items.Count() && !JobCancelled(job, dialog); ++i) {
        const TransferItem& item = items.ItemAt(i);
        if (item.IsFolder()) {
            continue;
        }
        if (stray[i]) {
            position += item.m_nSize;
            dialog.SetProgress(position);
            continue;
        }
        FileResult result = DownloadFile(job, dialog, destination, item, position);
        if (result == FileResult::Done) {
            ++job.m_tally.sent;
        } else if (result == FileResult::Skipped) {
            ++job.m_tally.skipped;
        } else if (result == FileResult::Failed || result == FileResult::EndJob) {
            ++job.m_tally.failed;
        }
        if (result == FileResult::EndJob) {
            return;
        }
        Sleep(0);
    }
}
