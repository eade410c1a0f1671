// ostrana: serves the web disk's page on 127.0.0.1 and opens it in the user's browser.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "host/HostOptions.h"
#include "host/HostServer.h"
#include "platform/shell/ShellExecute.h"

namespace {

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

int WaitForSignal()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    int received = 0;
    sigwait(&signals, &received);
    return received;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    auto options = ostrana::host::ParseHostOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "ostrana: " << error << "\n" << ostrana::host::HostUsage();
        return 2;
    }
    if (options->help) {
        std::cout << ostrana::host::HostUsage();
        return 0;
    }
    // Blocked before any thread starts, so that only the wait below receives them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    auto folder = ProgramFolder();
    ostrana::host::HostServer server;
    error = server.Start(options->port, folder / "web", std::filesystem::path(OSTRANA_ART_DIR));
    if (!error.empty()) {
        std::cerr << "ostrana: " << error << "\n";
        return 1;
    }
    std::cout << server.Address() << std::endl;
    if (options->openBrowser && reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", server.Address().c_str(),
                                                                        nullptr, nullptr, 1)) <= 32)
        std::cerr << "ostrana: could not open a browser; open the address above\n";
    WaitForSignal();
    server.Stop();
    return 0;
}
