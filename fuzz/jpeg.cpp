// Fuzz target: JPEG decoding of any bytes never crashes, hangs or reads outside its input, what it gives is a
// whole picture of the size it says, and where a picture must be whole only an undamaged one is taken.
#include <cstdlib>

#include "graphics/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : nullptr;
    if (!file) return 0;
    JpegPicture picture;
    // A small limit keeps inputs that claim huge pictures quick; the decoding paths are the same.
    if (read_jpeg(file, picture, int64_t(1) << 22)) {
        if (picture.width < 1 || picture.height < 1 ||
            picture.words.size() != size_t(picture.width) * size_t(picture.height) ||
            picture.rows_decoded < 1 || picture.rows_decoded > picture.height)
            std::abort();
        for (uint32_t w : picture.words)
            if (w >> 24) std::abort();
    }
    // Where the picture must be whole it is the same picture, or refused when the library found any damage.
    JpegPicture whole;
    std::rewind(file);
    const bool taken = read_jpeg(file, whole, int64_t(1) << 22, Damage::refused);
    if (taken != (!picture.words.empty() && !jpeg_damaged(picture)) || (taken && whole.words != picture.words))
        std::abort();
    std::fclose(file);
    return 0;
}
