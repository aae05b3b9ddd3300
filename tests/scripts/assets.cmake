# Freshness of the committed game assets: regenerates every BMP, map and
# Tiled file from game/art, game/maps and game/levels.ini, and the player-file
# template from the engine, into a scratch folder and fails, naming the file,
# when a committed one in game/ (or docs/player-template.ini) differs or has
# no source.
if(TARGET voltaro-art)
  add_test(NAME assets_fresh
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/scripts/art/check_assets.sh
      ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/assets_fresh)
endif()
