// Leaks the leak checker must not blame on the game: fontconfig keeps its configuration until the process ends
// (Qt loads it on the first text or menu and never frees it); x265 keeps a little of each encoder it made (the
// tests make HEIC pictures with it), and libheif's AV1 decoder loses a few bytes of a damaged AVIF (dav1d).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libx265.so\nleak:libdav1d.so\n";
}
