// The process-wide holder pointer; written when the holder is created or destroyed.
#include "session/SessionOwner.h"

#include <atomic>

namespace {
std::atomic<SessionOwner*> g_sessionOwner{nullptr};
}

SessionOwner* GetSessionOwner() { return g_sessionOwner.load(); }

void SetSessionOwner(SessionOwner* owner) { g_sessionOwner.store(owner); }
