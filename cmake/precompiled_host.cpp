// The host of a precompiled header (cmake/precompiled_headers.cmake): a library that compiles the
// headers alone.
