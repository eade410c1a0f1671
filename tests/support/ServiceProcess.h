// Runs the built ostrana-service as a child process for integration tests: a fresh data folder
// with the demo accounts, a free loopback port, and the service's log in a file beside the data.
#pragma once

#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ostrana::test {

class ServiceProcess {
public:
    // Starts "ostrana-service --root <tmp> --demo --listen 127.0.0.1:0" plus the extra arguments
    // and waits for its "listening on" line. Throws std::runtime_error when the service does not come up.
    ServiceProcess();
    explicit ServiceProcess(const std::vector<std::string>& extraArguments);
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    int Port() const { return m_port; }
    std::string Host() const { return "127.0.0.1"; }
    std::filesystem::path Root() const { return m_dir.Path() / "data"; }
    // What the service wrote to stderr so far: one line per request or command.
    std::string LogText() const;
    // How often `needle` occurs in the log, waiting up to 10 s for at least `atLeast`: the service
    // writes a command's line after its reply, so a client that has its answer may be ahead of it.
    int CountInLog(const std::string& needle, int atLeast = 0) const;

    // Where the binary is: $OSTRANA_TEST_BINARY_DIR/service/ostrana-service.
    static std::filesystem::path BinaryPath();

private:
    void Start(const std::vector<std::string>& extraArguments);
    void Terminate();

    TempDir m_dir;
    pid_t m_pid = -1;
    int m_port = 0;
};

} // namespace ostrana::test
