// Start-up's debug-privilege step.
#pragma once

// True when the process holds the capability to debug other processes (it
// is never raised here); the caller ignores the result.
bool EnableDebugPrivilege();
