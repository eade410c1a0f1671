// The page's events read back by the container's own decoder: each event goes through the input
// injector into the platform, and what arrives (the window's messages, the keys held, the
// clipboard, the requests for the user-interface thread) is told in the protocol's terms again
// and compared with what the page was made to do.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace ostrana::host::roundtrip {

// `recording` is {"events": [{"json": text frame, "expected": {"kind": name, "fields": {...}}}]}.
// Returns one line per mismatch; empty when every event read back as expected. `kinds` are the
// protocol's toHost kinds, each of which must be among the events.
std::vector<std::string> CheckPageEvents(const nlohmann::json& recording, const std::vector<std::string>& kinds);

} // namespace ostrana::host::roundtrip
