// The host of a precompiled header (cmake/precompiled_headers.cmake): it compiles the headers alone.
// As a program it needs a main.
int main() { return 0; }
