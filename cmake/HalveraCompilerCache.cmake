# Compiles through ccache when it is installed (and the caller has not chosen a
# launcher): a rebuild after switching branches or a fresh clone of the same
# sources then takes its objects from the cache. CCACHE_DISABLE=1 in the
# environment turns it off for one build (for timing a cold build).
if(NOT CMAKE_CXX_COMPILER_LAUNCHER)
    find_program(HALVERA_CCACHE ccache)
    if(HALVERA_CCACHE)
        set(CMAKE_CXX_COMPILER_LAUNCHER ${HALVERA_CCACHE})
    endif()
endif()
