// The question asked before each file: does a file of the same name already exist in the same
// relative folder at the destination, and if so, replace or skip it (following the job's mode).
#pragma once

#include <string>

#include "transfer/TransferJob.h"

// true: skip this item; false: transfer it. May show the overwrite prompt and change the job's mode.
bool CheckOverwrite(TransferJob& job, const TransferList& destination, const std::string& folderText,
                    const TransferItem& item);
