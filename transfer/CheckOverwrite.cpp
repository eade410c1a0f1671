// The first entry of the destination with the same name in the same relative folder decides;
// names compare byte for byte, so a name that differs only in case is another file.
#include "transfer/CheckOverwrite.h"

#include "platform/window/MessageBox.h"
#include "transfer/OverwriteDlg.h"

bool CheckOverwrite(TransferJob& job, const TransferList& destination, const std::string& folderText,
                    const TransferItem& item) {
    if (job.m_nOverwriteMode == TransferJob::AlwaysOverwrite || folderText.empty()) {
        return false;
    }
    std::optional<std::size_t> match = destination.FindSameFile(item);
    if (!match) {
        return false;
    }
    if (job.m_nOverwriteMode == TransferJob::AlwaysSkip) {
        return true;
    }
    COverwriteDlg dialog;
    dialog.Fill(folderText, destination.ItemAt(*match), item);
    if (dialog.DoModal() != IDOK) {
        return true;
    }
    job.m_nOverwriteMode = dialog.m_nRadio;
    return dialog.m_nRadio == TransferJob::AlwaysSkip;
}
