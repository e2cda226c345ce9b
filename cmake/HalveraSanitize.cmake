# Address and undefined-behaviour sanitizers on every target defined after this
# file is included: the core, the Qt layer, both programs and every test (see
# `make sanitize`). All of them, not just the core, so that a fault in a test
# or in the GUI layer is caught too, and every stack trace reads through.
#
# -fno-sanitize-recover=undefined: undefined behaviour stops the process like
# a memory fault does, so that the test running it fails instead of printing a
# line nobody reads.
# -fno-omit-frame-pointer: full stack traces at -O2.
if(HALVERA_FUZZ)
    message(FATAL_ERROR "HALVERA_SANITIZE and HALVERA_FUZZ each instrument the core: build them apart")
endif()

add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
