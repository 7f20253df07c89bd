# Draws the desktop icons with orbitrants-dump --icon on a headless OpenGL context, one PNG per
# size under OUT/NxN/apps/. Where the build machine cannot open a context the icons are left
# out with a loud warning rather than failing the build (the game builds and plays without
# them, and the next build tries again); installing, and so packaging, then fails.
# Run as: cmake -DDUMP=... -DOUT=... -DNAME=... -DSIZES=16,32,... -P make_icon.cmake
set(ENV{SDL_VIDEODRIVER} offscreen)
# A sanitizer build's tool would otherwise report the graphics driver's own leaks here; the
# tool's leaks are checked by its tests.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
string(REPLACE "," ";" SIZES "${SIZES}")
foreach(size ${SIZES})
  set(icon ${OUT}/${size}x${size}/apps/${NAME}.png)
  file(MAKE_DIRECTORY ${OUT}/${size}x${size}/apps)
  execute_process(COMMAND ${DUMP} --icon ${icon}.new --size ${size} RESULT_VARIABLE status
                  OUTPUT_QUIET ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    file(REMOVE_RECURSE ${OUT})
    message(WARNING "\n*** The desktop icons were not made ***\norbitrants-dump --icon needs a "
                    "headless OpenGL 3.3 context (Mesa's libgl1-mesa-dri and libegl-mesa0): "
                    "${error}The game still builds and plays, but installing it and building "
                    "its package fail until the icons can be made.\n")
    return()
  endif()
  file(RENAME ${icon}.new ${icon})
endforeach()
