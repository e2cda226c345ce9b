# Compiles through ccache when it is installed (and the caller has not chosen a
# launcher): a rebuild after switching branches or a fresh clone of the same
# sources then takes its objects from the cache. CCACHE_DISABLE=1 in the
# environment turns it off for one build; -DHALVERA_USE_CCACHE=OFF builds as on
# a machine without it (for timing a cold build).
#
# With ccache the precompiled headers are left out: ccache cannot tell a
# header precompiled under other definitions from the right one, and it serves
# every file from the cache anyway. Without ccache (a fresh machine) they save
# a third of the test files' compile time.
option(HALVERA_USE_CCACHE "Compile through ccache when it is installed" ON)
if(HALVERA_USE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    find_program(HALVERA_CCACHE ccache)
    if(HALVERA_CCACHE)
        set(CMAKE_CXX_COMPILER_LAUNCHER ${HALVERA_CCACHE})
        set(CMAKE_DISABLE_PRECOMPILE_HEADERS ON)
    endif()
endif()
