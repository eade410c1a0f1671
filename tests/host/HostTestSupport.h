// Shared by the container's tests: windows to stream, and reading the messages back.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "host/HostProtocol.h"
#include "host/SnapshotWriter.h"

namespace ostrana::host::test {

// The overwrite prompt of the module's templates, shown and painted; on the calling thread.
HWND ShowOverwritePrompt();
// A report-view list of `rows` rows named "row N" over a parent of 300 by 200, the list 280 by
// 120; on the calling thread. The parent is returned, the list through `list`.
HWND ShowReportList(int rows, HWND& list);

// The platform's images and the module's.
std::vector<ImageManifestEntry> ModuleImages();
SnapshotWriter MakeWriter();

std::vector<nlohmann::json> Parse(const std::vector<PageMessage>& messages);
// The messages of one kind.
std::vector<nlohmann::json> OfKind(const std::vector<nlohmann::json>& messages, ToPage kind);
// The treeChange of a window, or null.
nlohmann::json WindowRecord(const std::vector<nlohmann::json>& messages, HWND window);

} // namespace ostrana::host::test
