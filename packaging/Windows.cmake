# The Windows program's zip: quorvel.exe, the DLLs it loads, the bundled data
# files and help.txt in one folder, which is its application folder. Made by
# scripts/windows with the cross-compiled Qt (scripts/win-qt).
install(TARGETS quorvel RUNTIME DESTINATION .)
install(FILES ${QUORVEL_DATA_FILES} DESTINATION .)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README-windows.txt DESTINATION . RENAME README.txt)

# Qt's libraries and the two plugins the window needs, from the Qt the
# program was linked with, and the MinGW-w64 run time that they and the
# program load, as the compiler finds it.
set(dlls)
foreach(module Core Gui Widgets)
  list(APPEND dlls $<TARGET_FILE:Qt6::${module}>)
endforeach()
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not find ${dll}")
  endif()
  list(APPEND dlls ${path})
endforeach()
set(platform $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
# The Windows style: Vista's up to Qt 6.6, the modern one since.
foreach(name QModernWindowsStylePlugin QWindowsVistaStylePlugin)
  if(TARGET Qt6::${name})
    set(style $<TARGET_FILE:Qt6::${name}>)
    break()
  endif()
endforeach()
install(FILES ${dlls} DESTINATION .)
install(FILES ${platform} DESTINATION platforms)
install(FILES ${style} DESTINATION styles)

# The same beside the build's programs, which then start from the build
# folder as from the zip (the tests run there under Wine).
if(TARGET Qt6::Test)
  list(APPEND dlls $<TARGET_FILE:Qt6::Test>)
endif()
add_custom_target(quorvel_windows_runtime ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dlls} ${QUORVEL_APP_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVEL_APP_DIR}/platforms ${QUORVEL_APP_DIR}/styles
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platform} ${QUORVEL_APP_DIR}/platforms
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${style} ${QUORVEL_APP_DIR}/styles
  VERBATIM)

# Every program file of the zip loses its symbols: the installed copies of
# the DLLs here, quorvel.exe through CPACK_STRIP_FILES.
install(CODE "
  file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
  foreach(dll IN LISTS dlls)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${dll} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")

set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "${QUORVEL_CONTACT_NAME}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR ZIP)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_STRIP_FILES ON)
# Unpacks into quorvel-<version>-windows-x86_64\.
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
