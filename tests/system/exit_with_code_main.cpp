// Helper program of the Windows tests: writes its own command line, exactly as it
// received it, to the file named by its second argument (when there is one) and
// exits with the code given as its first argument.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc > 2) {
    if (std::FILE* out = std::fopen(argv[2], "wb")) {
      std::fputs(GetCommandLineA(), out);
      std::fclose(out);
    }
  }
  return argc > 1 ? static_cast<int>(std::strtoul(argv[1], nullptr, 10)) : 0;
}
