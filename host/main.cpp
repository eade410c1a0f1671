// ostrana: serves the web disk's page on 127.0.0.1, opens it in the user's browser, and runs the
// control in a top-level window as large as the page's control area.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/ControlHost.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"
#include "host/WebOpener.h"
#include "platform/base/ModuleResources.h"
#include "platform/com/Com.h"
#include "platform/gdi/ImageManifest.h"
#include "platform/shell/ShellExecute.h"
#include "platform/window/MessageBoxWindow.h"

namespace {

// The platform's images and, once the control has used its resources, the module's.
std::vector<ostrana::ImageManifestEntry> Images()
{
    HINSTANCE module = ostrana::DefaultResourceModule();
    if (!module)
        return ostrana::ImageManifest({});
    HINSTANCE modules[] = {module};
    return ostrana::ImageManifest(modules);
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
    // Message boxes are windows the page shows and the user answers, not answers made up here.
    ostrana::SetMessageBoxPresenter(std::make_shared<ostrana::WindowMessageBoxPresenter>());
    HostSession session(window, Images);
    WebOpener opener([&session](const std::string& url) { return session.OpenInPage(url); });
    std::filesystem::path folder = ostrana::ProgramFolder();
    ControlHost control;
    error = control.Create(window.Handle(), (folder / "libostrana.so").string(),
                           [&session](const std::string& name) { session.FireEvent(name); });
    if (!error.empty()) {
        // The page still shows the desktop, so the failure is visible there too.
        std::cerr << "ostrana: the control could not be started: " << error << "\n";
        control.Destroy();
    } else {
        session.SetControl(&control);
    }
    // The main window's teardown (its settings saved) runs before the container's window goes.
    window.OnClosing([&session, &control] {
        session.SetControl(nullptr);
        control.Destroy();
    });
    error = session.Start(options->port, folder / "web", std::filesystem::path(OSTRANA_ART_DIR));
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
