/* The C library's memory and ending functions for the shipped programs, over kernel32: the
   programs link no C run-time DLL, which the oldest 32-bit Windows they run on does not
   have. The process heap serves every block; it is there from the first instruction on. */
#include <windows.h>

void* malloc(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size ? size : 1); }

void free(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

void* calloc(size_t count, size_t size) {
    size_t bytes;
    if (size && count > (size_t)-1 / size) return NULL;
    bytes = count * size;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1);
}

void* realloc(void* block, size_t size) {
    if (!block) return malloc(size);
    if (!size) {
        free(block);
        return NULL;
    }
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

/* A broken precondition ends the program at once, with the status C programs have always
   given it. */
void abort(void) { ExitProcess(3); }
