// Under a sanitizer build: the desktop bus library that SDL's video start-up
// pulls in keeps a buffer until process exit; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
