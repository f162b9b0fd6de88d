// A library without the ufusr entry: the launcher unloads it and searches on.
extern "C" __attribute__((visibility("default"))) int ufusr_ask_unload() { return 1; }
