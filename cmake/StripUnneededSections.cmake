# Run by CPack on the staged tree, after its own stripping and before it writes the archive:
# the programs also lose the sections a Debian package leaves out, the compiler's .comment and
# the .note section (the build ID's own note stays).
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_TOLM_STRIP}" --remove-section=.comment --remove-section=.note
                            "${program}"
                    RESULT_VARIABLE stripped ERROR_VARIABLE why)
    if(NOT stripped EQUAL 0)
        message(FATAL_ERROR "cannot strip ${program}: ${why}")
    endif()
endforeach()
