// Replays every file of the given folders (or single files) through the fuzz target once.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (!std::filesystem::is_directory(p)) count += std::filesystem::exists(p) ? (replay(p), 1) : 0;
        else
            for (const auto& e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) replay(e.path()), ++count;
    }
    std::printf("replayed %d inputs\n", count);
    return count > 0 ? 0 : 1;
}
