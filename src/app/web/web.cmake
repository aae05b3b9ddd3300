# The web build: voltaro.js, voltaro.wasm and voltaro.data (the game folder
# and the sample replays, preloaded into the page's file system), beside the
# hand-written page voltaro.html. Included by the top CMakeLists.txt when
# configured with emcmake (make web).
set(VOLTARO_WEB_GAME ${CMAKE_SOURCE_DIR}/game CACHE PATH "The game folder packed into the page")
set(VOLTARO_WEB_REPLAYS ${CMAKE_SOURCE_DIR}/tests/e2e/replays CACHE PATH
  "Input logs packed into the page's /replays folder (empty: none)")

add_executable(voltaro ${CMAKE_SOURCE_DIR}/src/app/main.cpp ${CMAKE_CURRENT_LIST_DIR}/browser_run.cpp)
target_link_libraries(voltaro PRIVATE voltaro_app)

# The page's file system is laid out like an installation under /: the game
# is where the installed game's lookup finds it.
# (SHELL: keeps CMake from merging the repeated option words.)
set(web_preload "SHELL:--preload-file ${VOLTARO_WEB_GAME}@/share/voltaro/game")
if(VOLTARO_WEB_REPLAYS)
  list(APPEND web_preload "SHELL:--preload-file ${VOLTARO_WEB_REPLAYS}@/replays")
endif()
target_link_options(voltaro PRIVATE
  ${web_preload}
  # Images are decoded by the browser while the data loads; without this
  # SDL_LoadBMP finds no preloaded picture.
  --use-preload-plugins
  # The sources of the art and maps are not game data.
  "SHELL:--exclude-file ${VOLTARO_WEB_GAME}/art" "SHELL:--exclude-file ${VOLTARO_WEB_GAME}/maps"
  "SHELL:-s ALLOW_MEMORY_GROWTH=1"
  "SHELL:-s ENVIRONMENT=web"
  "SHELL:-s EXPORTED_RUNTIME_METHODS=['FS']")

# The data is packed at link time: relink when the game changes.
file(GLOB_RECURSE web_data CONFIGURE_DEPENDS ${VOLTARO_WEB_GAME}/* ${VOLTARO_WEB_REPLAYS}/*)
set_property(TARGET voltaro APPEND PROPERTY LINK_DEPENDS ${web_data})

configure_file(${CMAKE_CURRENT_LIST_DIR}/voltaro.html ${CMAKE_BINARY_DIR}/voltaro.html COPYONLY)
