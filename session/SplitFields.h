// The field splitter of greetings and listing lines. A text with fewer fields than the limit
// yields its last field twice (consumers rely on that: a two-field greeting still has three
// elements); the last of N fields keeps every remaining separator, so names with spaces survive.
#pragma once

#include <string>
#include <vector>

// Appends the fields of `text` to `fields`; `convert` passes each field through Utf8ToLocal.
void SplitFields(const std::string& text, std::vector<std::string>& fields, int limit, bool convert,
                 char separator);
