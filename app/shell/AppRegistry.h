// The application's own settings (the key named after the application):
// "LCID" and "exit_mode", stored as decimal text. Reads and writes go to the
// settings file $XDG_CONFIG_HOME/ORVA 100/settings, which every write
// replaces atomically. Failures never stop the program: reads fall back to
// fixed values, writes are skipped. Any thread may call.
#pragma once

#include "korinui/Types.h"

// "LCID" as a number; 0 when it is not set or not a number (also right after
// the store was created); 2052 when the store exists but cannot be opened or
// cannot be created.
int ReadLanguageId();

// Writes "LCID" as "%d" of id. A store that does not exist yet is created;
// one that exists but cannot be opened is left alone.
void SaveLanguageId(int id);

// The named value as a decimal number ("12abc" gives 12, as the C conversion
// does); 0 when absent, unreadable, not a number, or the store cannot be
// opened or created.
int ReadRegistryInt(const CString& name);

// Writes the named text value, with the same rules as SaveLanguageId.
void WriteRegistryString(const CString& name, const CString& text);
