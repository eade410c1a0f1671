// The process-wide main-window pointer; written on the user-interface thread when the main window
// is created or destroyed, read from transfer threads too.
#include "transfer/MainWindowLink.h"

#include <atomic>

namespace {
std::atomic<MainWindowLink*> g_mainWindowLink{nullptr};
}

MainWindowLink* GetMainWindowLink() { return g_mainWindowLink.load(); }

void SetMainWindowLink(MainWindowLink* link) { g_mainWindowLink.store(link); }
