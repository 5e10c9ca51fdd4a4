# Installs the libraries, the public headers, the kestra program, a CMake
# package (find_package(kestra): kestra::kestra, kestra::kestra_static) and a
# pkg-config file.
include(CMakePackageConfigHelpers)

set_target_properties(kestra PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})

# The pkg-config modules the libraries link; kestraConfig.cmake finds them
# again as PkgConfig::<prefix> targets, and kestra.pc requires them.
set(KESTRA_PKG_MODULES FREETYPE=freetype2 FONTCONFIG=fontconfig LIBZIP=libzip
  LIBXML2=libxml-2.0 UCHARDET=uchardet CAIRO=cairo)

install(TARGETS kestra kestra_static EXPORT kestraTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")
install(TARGETS kestra_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KESTRA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kestra)
install(EXPORT kestraTargets NAMESPACE kestra:: DESTINATION ${KESTRA_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kestraConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/kestraConfig.cmake
  INSTALL_DESTINATION ${KESTRA_CMAKE_DIR})
# 0.x releases promise nothing across minor versions.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kestraConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/kestraConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/kestraConfigVersion.cmake
  DESTINATION ${KESTRA_CMAKE_DIR})

set(KESTRA_PC_REQUIRES)
foreach(entry IN LISTS KESTRA_PKG_MODULES)
  string(REGEX REPLACE "^[^=]*=" "" module ${entry})
  list(APPEND KESTRA_PC_REQUIRES ${module})
endforeach()
list(APPEND KESTRA_PC_REQUIRES expat)
list(JOIN KESTRA_PC_REQUIRES " " KESTRA_PC_REQUIRES)
# The prefix is found from the file's own place, so `cmake --install --prefix`
# anywhere gives a working file.
file(RELATIVE_PATH KESTRA_PC_TO_PREFIX /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestra.pc.in ${CMAKE_CURRENT_BINARY_DIR}/kestra.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kestra.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
