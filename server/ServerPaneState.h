// The process-wide pieces of the server pane: the one server tree control (the local panes start
// downloads of dropped server entries through it) and the flag that says a server label is being
// edited (the control's keyboard hook reads it on its own thread).
#pragma once

#include <atomic>

class CServerTreeCtrl;

// The one server tree control, or null while none exists.
CServerTreeCtrl* GetServerTreeCtrl();
void SetServerTreeCtrl(CServerTreeCtrl* tree);

// Set while a label of the server tree or the server list is being edited.
std::atomic<bool>& ServerLabelEditing();
