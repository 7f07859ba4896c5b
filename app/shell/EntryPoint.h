// The program's start-up sequence, called by main(). User-interface thread.
#pragma once

// Runs the start: the single-instance rule (a second start asks the first to
// come to the front and returns 0 at once, initialising nothing), the debug
// privilege step, the interface language, the data folder's "db". The main
// window does not exist yet: the call reports that and returns 0.
// The command line is ignored.
int RunEntryPoint();
