// Fuzz target: BMP decoding of any bytes never crashes, hangs or reads outside its input, what it gives is a
// whole picture of the size it says, and where a picture must be whole only a picture not cut short is taken.
#include <cstdlib>

#include "ws/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpPicture picture;
    // A small limit keeps inputs that claim huge pictures quick; the decoding paths are the same.
    if (read_bmp(data, size, picture, int64_t(1) << 22)) {
        if (picture.width < 1 || picture.height < 1 ||
            picture.words.size() != size_t(picture.width) * size_t(picture.height))
            std::abort();
        for (uint32_t w : picture.words)
            if (w >> 24) std::abort();
    }
    // Where the picture must be whole it is taken exactly when it was not short, at the same size. (Its words are
    // not compared: Qt leaves pixels that a malformed file never reaches as it found them.)
    BmpPicture whole;
    const bool taken = read_bmp(data, size, whole, int64_t(1) << 22, Damage::refused);
    const bool kept_whole = !picture.words.empty() && !picture.incomplete;
    if (taken != kept_whole || (taken && whole.words.size() != picture.words.size())) std::abort();
    return 0;
}
