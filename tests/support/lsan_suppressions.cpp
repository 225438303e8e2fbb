// LeakSanitizer suppressions of the sanitizer build of the tests. Only what
// the system's libraries keep for the whole process belongs here.

extern "C" const char* __lsan_default_suppressions() {
    // Qt's font database hands fontconfig patterns to its font cache and
    // never frees them before the process ends.
    return "leak:libfontconfig.so\n";
}
