# Installation and the Debian package (docs/install.md).
#
# cmake --install BUILD --prefix P puts, under P:
#   bin/voltaro, bin/<every content tool>
#   share/voltaro/game/                      the sample game's runtime files
#   share/applications/voltaro.desktop       the menu entry
#   share/icons/hicolor/NxN/apps/voltaro.png the icon, from the game's own art
#   share/man/man6/voltaro.6.gz, share/man/man1/<tool>.1.gz
#   share/doc/voltaro/                       README.md, docs/, and the
#                                            sources of the game's art and
#                                            maps under examples/
# Everything is found relative to the executable, so the prefix can move.
include(GNUInstallDirs)

install(TARGETS voltaro ${VOLTARO_TOOLS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The game: what it loads. Its sources (art, maps, the Tiled project,
# effects and tunes) are examples for authors.
set(VOLTARO_GAME_SOURCES art maps tiled sfx songs)
set(game_source_patterns "")
set(game_source_dirs "")
foreach(folder ${VOLTARO_GAME_SOURCES})
  list(APPEND game_source_patterns PATTERN ${folder} EXCLUDE)
  list(APPEND game_source_dirs ${CMAKE_SOURCE_DIR}/game/${folder})
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/game/ DESTINATION ${CMAKE_INSTALL_DATADIR}/voltaro/game ${game_source_patterns})
install(DIRECTORY ${game_source_dirs} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The README keeps its links: docs/ lies beside it as in the repository.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs PATTERN man EXCLUDE)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/voltaro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon: the first hero standing (the first 24x24 cell of its sheet), at
# the sizes of the icon theme that are whole multiples of it.
set(icon_source ${CMAKE_SOURCE_DIR}/game/art/hero1-right.art)
file(GLOB icon_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/game/art/hero*)
set(icon_files "")
foreach(scale 1 2 4 8)
  math(EXPR size "24 * ${scale}")
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/voltaro.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND voltaro-art --png --scale ${scale} --area 0,0,24,24 ${icon_source} ${icon}
    DEPENDS voltaro-art ${icon_inputs}
    COMMENT "Drawing the ${size}x${size} icon")
  list(APPEND icon_files ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${icon_files})

# Man pages, made from each program's --help (and docs/man/NAME.h2m, the
# sections --help does not give), so they never drift from the program.
find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(HELP2MAN AND GZIP)
  set(man_pages "")
  foreach(program voltaro ${VOLTARO_TOOLS})
    set(section 1)
    if(program STREQUAL "voltaro")
      set(section 6)  # a game
    endif()
    set(page ${CMAKE_BINARY_DIR}/man/${program}.${section})
    set(extra ${CMAKE_SOURCE_DIR}/docs/man/${program}.h2m)
    if(EXISTS ${extra})
      set(extra_arguments --include=${extra})
    else()
      set(extra "")
      set(extra_arguments "--name=a content tool of the Voltaro engine")
    endif()
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${HELP2MAN} --no-info --section=${section} --version-string=${PROJECT_VERSION}
              "--source=Voltaro ${PROJECT_VERSION}" ${extra_arguments} --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${GZIP} -9nf ${page}
      DEPENDS ${program} ${extra}
      # In a game folder, so that voltaro's --help has no missing game to report.
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/game
      COMMENT "Writing the man page ${program}(${section})")
    list(APPEND man_pages ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
else()
  message(WARNING "help2man or gzip not found: no man pages (tools/setup-debian.sh installs help2man)")
endif()

# make package: a .deb of the above under /usr, its dependencies computed
# from the executables by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME voltaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Voltaro developers <voltaro@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "8-bit style side-scrolling platform game and its engine")
set(CPACK_PACKAGE_DESCRIPTION "Voltaro is a data-driven engine for side-scrolling action platform games
in the style of the 8-bit home consoles, with a sample game of three levels
and three characters. Levels, characters, art and physics are read from
text and image files, and the content tools voltaro-art and voltaro-map
turn the editable sources into them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
