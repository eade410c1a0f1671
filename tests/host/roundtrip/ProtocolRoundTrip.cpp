// The protocol's round trip through a real browser, the container's half:
//   protocol_roundtrip to-page FILE   writes one message of every kind, each with what the page
//                                     must read from it
//   protocol_roundtrip to-host FILE   reads the events the page wrote, each with what the page was
//                                     made to do, through the container's decoder; exits 1 on a
//                                     mismatch
#include <nlohmann/json.hpp>

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tests/host/roundtrip/PageEventCheck.h"
#include "tests/host/roundtrip/PageSamples.h"

namespace {

using Json = nlohmann::json;
using namespace ostrana::host::roundtrip;

Json ReadJson(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Json::parse(in);
}

int WriteToPage(const std::string& path)
{
    Json messages = Json::array();
    for (const Sample& sample : PageSamples())
        messages.push_back({{"json", sample.json}, {"expected", sample.expected}});
    std::ofstream out(path);
    out << Json{{"messages", messages}}.dump(1) << '\n';
    return out ? 0 : 1;
}

int CheckToHost(const std::string& path)
{
    const Json protocol = ReadJson(OSTRANA_PROTOCOL_FILE);
    std::vector<std::string> kinds;
    for (const auto& [kind, about] : protocol.at("toHost").items())
        kinds.push_back(kind);
    std::vector<std::string> faults = CheckPageEvents(ReadJson(path), kinds);
    for (const std::string& fault : faults)
        std::cerr << fault << '\n';
    return faults.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: protocol_roundtrip to-page|to-host FILE\n";
        return 2;
    }
    try {
        std::string mode = argv[1];
        if (mode == "to-page")
            return WriteToPage(argv[2]);
        if (mode == "to-host")
            return CheckToHost(argv[2]);
        std::cerr << "unknown mode " << mode << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "protocol_roundtrip: " << error.what() << '\n';
        return 1;
    }
}
