// One message of every kind the container sends, written by the container's own encoders from
// values chosen so that no two fields share one, with what the page must read back from each.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace ostrana::host::roundtrip {

struct Sample {
    std::string json;        // the text frame as the container sends it
    nlohmann::json expected; // {"kind": protocol name, "fields": {name: value as the page decodes it}}
};

// Needs the platform's windows, so it runs its own user-interface thread.
std::vector<Sample> PageSamples();

} // namespace ostrana::host::roundtrip
