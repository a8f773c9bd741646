// Counting versions of every allocation entry point of the C library, each
// forwarded to glibc's own implementation; operator new reaches malloc.
// Linked into a program that defines countAllocation().
#include "allocationHooks.h"

#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

void* malloc(std::size_t size)
{
    countAllocation();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    countAllocation();
    return __libc_calloc(count, size);
}

void* realloc(void* block, std::size_t size)
{
    countAllocation();
    return __libc_realloc(block, size);
}

void* memalign(std::size_t alignment, std::size_t size)
{
    countAllocation();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    countAllocation();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    countAllocation();
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr) {
        return 12; // ENOMEM
    }
    *result = block;
    return 0;
}
}
