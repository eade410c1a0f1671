// The upload work of a transfer job: list the destination, create missing server folders parent
// first, then send each file with ".SAVETO" in blocks of 4000 bytes, announcing the length the
// file has when it is opened and sending exactly that many bytes.
#pragma once

#include <string>

#include "transfer/ShellProgressDialog.h"
#include "transfer/TransferJob.h"

// Largest size the protocol's signed 32-bit size field can announce.
constexpr ULONGLONG kMaxProtocolFileSize = 0x7FFFFFFFULL;

// Destination folder, then the item's relative folder and "/" when it has one.
std::string ServerFolderOf(const TransferJob& job, const TransferItem& item);
void RunUpload(TransferJob& job, ShellProgressDialog& dialog);
// The user's Cancel or the owner's stop request.
bool JobCancelled(TransferJob& job, ShellProgressDialog& dialog);
