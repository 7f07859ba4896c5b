// The names are header constants; this unit keeps the core library non-empty
// until the shell's own sources land.
#include "app/shell/AppIdentity.h"
