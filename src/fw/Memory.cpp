// The program's allocation operators: plain heap calls, no exception machinery.
// Only Setup.exe links this file; the tests keep the standard library's.
#include <stdlib.h>
#include <new>

void* operator new(size_t size) {
    void* block = malloc(size ? size : 1);
    if (!block)
        abort();
    return block;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }
