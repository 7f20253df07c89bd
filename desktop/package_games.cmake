# Run by cpack on its staging tree before packing: Debian keeps games in /usr/games (on the
# PATH of every login there), while an install into a prefix keeps them in bin/, which is on
# the user's PATH for ~/.local and /usr/local.
set(staged ${CPACK_TEMPORARY_DIRECTORY}/usr)
if(NOT EXISTS ${staged}/bin/orbitrants)
  message(FATAL_ERROR "no ${staged}/bin/orbitrants to move to games/")
endif()
file(MAKE_DIRECTORY ${staged}/games)
file(RENAME ${staged}/bin/orbitrants ${staged}/games/orbitrants)
file(REMOVE_RECURSE ${staged}/bin)
