// The few pieces of the C++ runtime that the shipped programs take from here rather than
// from the toolchain's static library. The programs are built without exceptions, but the
// library's own copies of these pieces are not: each of them would bring the library's
// exception machinery along (unwinder, personality routine, the standard exception
// classes, and through them a threads library), several times the size of the programs'
// own code.
//
// Nothing here is reached while a program works as intended: a failed allocation or a
// broken precondition of the standard library ends the program at once, as an exception
// that nobody catches did before.
#include <cstdlib>
#include <new>
#include <string>

// Allocation: the replaceable global operators, without the library's bad_alloc.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    std::abort();
}

void* operator new[](std::size_t size) { return ::operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

void operator delete(void* block) noexcept { std::free(block); }

void operator delete[](void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }

void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// The string class, compiled here without exceptions. The library's explicit instantiation
// carries exception tables; with this one in the program, the linker never needs it.
template class std::basic_string<char>;

// The standard library's error paths (a length beyond max_size, an index out of range, an
// empty std::function called, a failed numeric conversion): programming errors here, never
// a condition the programs handle. All of the library's, so that its copy never comes in.
namespace std {

void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }

}  // namespace std
