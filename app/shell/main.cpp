// Entry point; the start-up sequence lives in EntryPoint so tests drive the same code.
#include "app/shell/EntryPoint.h"

int main() { return RunEntryPoint(); }
