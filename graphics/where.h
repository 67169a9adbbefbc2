// A caller's source location, passed as a defaulted last argument so failures can name the calling module.
//
// Built on the compiler's __builtin_FILE/__builtin_LINE rather than std::source_location, which the clang used for
// the fuzzing build does not offer with this standard library.
#pragma once
#include <cstdint>

struct Where {
    const char* file = "";
    uint32_t line_number = 0;

    // In a default argument this gives the location of the call that left the argument out.
    static constexpr Where current(const char* file = __builtin_FILE(), uint32_t line = __builtin_LINE()) {
        return Where{file, line};
    }
    constexpr const char* file_name() const { return file; }
    constexpr uint32_t line() const { return line_number; }
};
