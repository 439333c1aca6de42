// What the program does when an exception escapes or a noexcept function throws.
// The runtime's own handler writes the exception's demangled type to the standard
// error stream, which a program of the GUI subsystem does not have; it brings the
// C++ demangler with it (48 KB of the program). Defined here, this one is
// linked instead: it ends the program as that one does after its message.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
