// Fresh memory for a decoded picture's words, in large pages where the system gives them.
#include "graphics/picture_words.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

bool allocate_words(std::vector<uint32_t>& words, size_t count) {
    try {
        words.clear();
        words.reserve(count);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        const uintptr_t page = 4096, begin = (uintptr_t(words.data()) + page - 1) & ~(page - 1);
        const uintptr_t end = (uintptr_t(words.data() + count)) & ~(page - 1);
        if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
        words.resize(count, 0u);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
