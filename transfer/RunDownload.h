// The download work of a transfer job: create the local folders parent first, then fetch each
// file with ".GETFILE" into a temporary file beside the target, renamed over the target only
// when the whole body has arrived. A failed or cancelled file leaves the target as it was. No
// entry whose local path would not lie under the destination folder is created or requested.
#pragma once

#include <string>

#include "transfer/PartialFile.h"
#include "transfer/ShellProgressDialog.h"
#include "transfer/TransferJob.h"

// Destination folder, then the entry's relative folder with "\" separators.
std::string LocalFolderOf(const TransferJob& job, const TransferItem& item);
void RunDownload(TransferJob& job, ShellProgressDialog& dialog);
