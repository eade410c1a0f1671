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

#include "host/DisplayStream.h"
#include "host/HostOptions.h"
#include "host/HostServer.h"
#include "host/HostWindow.h"
#include "host/InputInjector.h"
#include "host/SnapshotWriter.h"
#include "host/ViewRows.h"
#include "platform/gdi/ImageManifest.h"
#include "platform/gdi/ScreenSize.h"
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
    HostServer server;
    SnapshotWriter writer(ostrana::ImageManifest({}),
                          [](const ostrana::WindowState& state) { return ViewRowsOf(state.handle, state.className); });
    DisplayStream stream(
        std::move(writer), [&server](const std::string& json) { return server.Send(json); },
        [&window, &stream] { window.Post([&stream] { stream.Pump(); }); });
    PageActions actions;
    actions.ack = [&stream](std::uint64_t frame) { stream.Acknowledge(frame); };
    actions.resize = [&window](SIZE area, double) { window.Resize(area); };
    actions.property = [](const std::string&, long, const std::string&) {};
    actions.method = [](const std::string&) {};
    actions.pasted = [&stream](const std::string& text) { stream.PageClipboard(text); };
    InputInjector injector(std::move(actions), [&window](HostWindow::Task task) { window.Post(std::move(task)); });

    server.SetGreeting([](int session) { return SnapshotWriter::Hello(session, ostrana::ScreenSize()); });
    server.OnMessage([&injector](const std::string& json) { injector.Handle(json); });
    server.OnPage([&stream] { stream.PageConnected(); });
    error = server.Start(options->port, ProgramFolder() / "web", std::filesystem::path(OSTRANA_ART_DIR));
    if (!error.empty()) {
        std::cerr << "ostrana: " << error << "\n";
        return 1;
    }
    std::cout << server.Address() << std::endl;
    if (options->openBrowser &&
        reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", server.Address().c_str(), nullptr, nullptr, 1)) <= 32)
        std::cerr << "ostrana: could not open a browser; open the address above\n";

    std::thread waiter([&window, signals] {
        int received = 0;
        sigwait(&signals, &received);
        window.Quit();
    });
    int code = window.Run();
    // The page must not reach the stream or the injector while they go.
    server.Stop();
    if (waiter.joinable()) {
        pthread_kill(waiter.native_handle(), SIGTERM); // harmless when it already returned
        waiter.join();
    }
    return code;
}
