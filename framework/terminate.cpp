// The handler that ends a program on an exception nobody catches. The runtime's default one
// prints the exception's demangled type to a console these programs do not have, and its
// demangler alone makes up a good part of the program's size; ending at once says as much.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
