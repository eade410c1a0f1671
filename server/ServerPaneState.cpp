// The process-wide server tree pointer and label-editing flag.
#include "server/ServerPaneState.h"

namespace {
std::atomic<CServerTreeCtrl*> g_serverTree{nullptr};
std::atomic<bool> g_labelEditing{false};
} // namespace

CServerTreeCtrl* GetServerTreeCtrl() { return g_serverTree.load(); }
void SetServerTreeCtrl(CServerTreeCtrl* tree) { g_serverTree.store(tree); }
std::atomic<bool>& ServerLabelEditing() { return g_labelEditing; }
