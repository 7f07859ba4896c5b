// Entry point. The start-up sequence grows with the shell; until the main window
// exists this only reports what it would start.
#include <cstdio>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::puts("keystrel: the main window is not built yet; nothing to show.");
  return 0;
}
