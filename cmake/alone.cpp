// The program each folder's library is linked into whole, with only the folders below it: a call from the folder
// to one above it has nothing to resolve it, so the build stops there. It is never run.
int main() { return 0; }
