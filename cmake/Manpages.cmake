# Manual pages tolm(1), tolm-cli(1) and tolm-modsim(1), written in scdoc (docs/man/*.scd) and
# turned into roff at build time, gzipped as Debian keeps them. Without scdoc they are left
# out with a note; scripts/install-deps installs it.
find_program(SCDOC_PROGRAM scdoc)
if(NOT SCDOC_PROGRAM)
    message(STATUS "scdoc not found: the manual pages are not built")
    return()
endif()

# The pages carry the release date, not the build date, so two builds give the same bytes.
execute_process(COMMAND date -u -d "${TOLM_RELEASE_DATE}" +%s
                OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE)

set(man_pages "")
foreach(page tolm.1 tolm-cli.1 tolm-modsim.1)
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.scd)
    set(configured ${PROJECT_BINARY_DIR}/man/${page}.scd)
    set(roff ${PROJECT_BINARY_DIR}/man/${page})
    set(output ${roff}.gz)
    configure_file(${source} ${configured} @ONLY)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${release_epoch}
                sh -c "'${SCDOC_PROGRAM}' < '${configured}' > '${roff}' && gzip -9nf '${roff}'"
        DEPENDS ${configured}
        COMMENT "Manual page ${page}"
        VERBATIM)
    list(APPEND man_pages ${output})
endforeach()
add_custom_target(tolm_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
