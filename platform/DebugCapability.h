// The stand-in for the debug privilege of a process token: the capability to
// trace other processes. It is only reported, never raised: a keyboard
// configurator has no business gaining rights it was not started with.
#pragma once

namespace platform {

// True when CAP_SYS_PTRACE is in the process's effective set (read from
// /proc/self/status); false when it is not or cannot be told.
bool HasDebugCapability();

}  // namespace platform
