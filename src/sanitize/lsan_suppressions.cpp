// Fontconfig, which both the window library and cairo ask for fonts, keeps a
// few allocations for the life of the process that LeakSanitizer reports as
// lost. They are not ours. The sanitizer reads this list in builds made with
// it; every program that may draw text links it.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
