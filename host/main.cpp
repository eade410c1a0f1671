// ostrana: serves the web disk's page on 127.0.0.1, opens it in the user's browser, and runs the
// control in a top-level window as large as the page's control area.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"
#include "platform/gdi/ImageManifest.h"
#include "platform/shell/ShellExecute.h"

namespace {

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

sigset_t EndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace ostrana::host;
    std::string error;
    auto options = ParseHostOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "ostrana: " << error << "\n" << HostUsage();
        return 2;
    }
    if (options->help) {
        std::cout << HostUsage();
        return 0;
    }
    // Blocked before any thread starts, so that only the waiting thread receives them.
    sigset_t signals = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    HostWindow window; // this thread is the user-interface thread from here on
    HostSession session(window, ostrana::ImageManifest({}));
    error = session.Start(options->port, ProgramFolder() / "web", std::filesystem::path(OSTRANA_ART_DIR));
    if (!error.empty()) {
        std::cerr << "ostrana: " << error << "\n";
        return 1;
    }
    std::string address = session.Address();
    std::cout << address << std::endl;
    if (options->openBrowser &&
        reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, 1)) <= 32)
        std::cerr << "ostrana: could not open a browser; open the address above\n";

    std::thread waiter([&window, signals] {
        int received = 0;
        sigwait(&signals, &received);
        window.Quit();
    });
    int code = window.Run();
    session.Stop();
    pthread_kill(waiter.native_handle(), SIGTERM); // ends the wait when the loop ended otherwise
    waiter.join();
    return code;
}
