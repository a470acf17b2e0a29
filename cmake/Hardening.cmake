# The protections Debian builds its own programs with: buffer functions that check their sizes
# where the compiler knows them, a guard on the stack of functions with arrays, and a table of
# relocations that every symbol is bound in at start and that is read-only from then on.
add_compile_options(-fstack-protector-strong)
add_link_options(-Wl,-z,relro,-z,now)
# The checked functions need optimisation (glibc warns without it), and the sanitizer builds
# bring checks of their own that should see the plain functions.
if(NOT TOLM_SANITIZE AND NOT TOLM_BUILD_FUZZ)
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
