#include "app/shell/DebugPrivilege.h"

#include "platform/DebugCapability.h"

bool EnableDebugPrivilege() { return platform::HasDebugCapability(); }
