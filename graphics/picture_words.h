// Fresh memory for a decoded picture's words.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Makes `words` `count` words, all 0; false when the memory cannot be had. A photo is tens of megabytes of fresh
// memory whose page faults cost about a quarter of its decoding time; asking for large pages makes them a few dozen.
bool allocate_words(std::vector<uint32_t>& words, size_t count);
