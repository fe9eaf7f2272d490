# Run by CPack on its staging tree before the package is made: Debian keeps games in /usr/games,
# while a plain install puts the binary in bin/.
file(GLOB staged_binary "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/cornkeeper")
if(staged_binary)
  file(MAKE_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}/usr/games")
  file(RENAME "${staged_binary}" "${CPACK_TEMPORARY_DIRECTORY}/usr/games/cornkeeper")
  file(REMOVE_RECURSE "${CPACK_TEMPORARY_DIRECTORY}/usr/bin")
endif()
