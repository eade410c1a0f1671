// The rule for a name that the server sends and that the client joins into a local path or a
// later server path: one plain name, which can never climb out of the folder it is joined to.
#pragma once

#include <string>
#include <string_view>

// Not empty, not "." or "..", no "/" or "\", no drive ("C:"), no control character.
bool IsPlainName(std::string_view name);

// True when `path` is `folder` followed only by plain names, each behind one or more "\"
// (a doubled "\" is accepted, as the file system accepts it).
bool LiesUnderFolder(std::string_view path, std::string_view folder);
