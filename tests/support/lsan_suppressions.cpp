// Leaks the leak checker must not blame on the tests: fontconfig keeps its configuration until the process ends
// (Qt loads it on the first text or menu and never frees it).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
