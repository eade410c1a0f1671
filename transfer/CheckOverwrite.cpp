// The first entry of the destination with the same name in the same relative folder decides;
// names compare byte for byte, so a name that differs only in case is another file.
#include "transfer/CheckOverwrite.h"

#include <algorithm>

#include "platform/window/MessageBox.h"
#include "transfer/OverwriteDlg.h"

namespace {

// Brings a destination entry's relative folder into the incoming item's separator style.
std::string ConvertedRelativeFolder(std::string folder) {
    if (folder.find('/', 1) != std::string::npos) {
        std::replace(folder.begin(), folder.end(), '/', '\\');
    } else {
        std::replace(folder.begin(), folder.end(), '\\', '/');
    }
    return folder;
}

} // namespace

bool CheckOverwrite(TransferJob& job, const TransferList& destination, const std::string& folderText,
                    const TransferItem& item) {
    if (job.m_nOverwriteMode == TransferJob::AlwaysOverwrite || folderText.empty()) {
        return false;
    }
    std::string name = item.FileName();
    for (std::size_t i = 0; i < destination.Count(); ++i) {
        const TransferItem& entry = destination.ItemAt(i);
        if (entry.FileName() != name || ConvertedRelativeFolder(entry.m_strRelativeFolder) != item.m_strRelativeFolder) {
            continue;
        }
        if (job.m_nOverwriteMode == TransferJob::AlwaysSkip) {
            return true;
        }
        COverwriteDlg dialog;
        dialog.Fill(folderText, entry, item);
        if (dialog.DoModal() != IDOK) {
            return true;
        }
        job.m_nOverwriteMode = dialog.m_nRadio;
        return dialog.m_nRadio == TransferJob::AlwaysSkip;
    }
    return false;
}
