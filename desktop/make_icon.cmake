# Writes the desktop icon with orbitrants-dump --icon on a headless OpenGL context. Where the
# build machine cannot open one, the icon is left out with a warning rather than failing the
# build: the game builds and plays without it, and the next build tries again.
# Run as: cmake -DDUMP=... -DICON=... -P make_icon.cmake
set(ENV{SDL_VIDEODRIVER} offscreen)
# A sanitizer build's tool would otherwise report the graphics driver's own leaks here; the
# tool's leaks are checked by its tests.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND ${DUMP} --icon ${ICON}.new RESULT_VARIABLE status
                OUTPUT_QUIET ERROR_VARIABLE error)
if(status EQUAL 0)
  file(RENAME ${ICON}.new ${ICON})
else()
  file(REMOVE ${ICON}.new)
  message(WARNING "The desktop icon was not made (orbitrants-dump --icon needs a headless "
                  "OpenGL 3.3 context): ${error}The game still builds and installs without it.")
endif()
