# Read by cpack once per generator: the tar.gz adds its README to the
# installed tree, the .deb keeps to the installed tree.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_INSTALLED_DIRECTORIES "${CPACK_QUORVEL_TAR_EXTRAS};.")
endif()
