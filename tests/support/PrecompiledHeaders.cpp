// The one source of the targets that compile the test programs' precompiled
// headers (see tests/CMakeLists.txt); it needs nothing of its own.
