// The program folder, the per-user data folder and folder creation.
// Any thread may call these.
#pragma once

#include "korinui/Types.h"

// The resource root with a trailing '/' (the folder of the executable in the
// build tree, <prefix>/share/keystrel/ when installed). Language files,
// device descriptions and skins are found here. Empty when unknown.
CString GetProgramFolder();

// The per-user data folder with a trailing '/': DataHome() + "/ORVA 100 Files/".
// Its subfolders are "db" (created at start) and "temp" (downloads). Empty
// when no data home is known. Nothing is created here.
CString GetAppDataFolder();

// Creates the folder and every missing parent ('/'-separated; errors on the
// way are ignored). True when the path names a folder afterwards; a file in
// the folder's place gives false.
bool CreateDirectoryTree(const CString& path);
