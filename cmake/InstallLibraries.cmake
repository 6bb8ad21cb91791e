# The installed package of the libraries: their archives, their public headers (one folder
# per layer below include/metronomekit; private _p.h headers and the text layer's
# FreeType glue stay out), the CMake package MetronomeKit with namespaced targets, and a
# pkg-config file per layer. Included by the top-level CMakeLists.txt.
include(CMakePackageConfigHelpers)

set(METRONOME_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/MetronomeKit)
set(METRONOME_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(targets "")
foreach(name ${METRONOME_LAYERS} ${METRONOME_ARCHIVES})
  list(APPEND targets metronomekit_${name})
endforeach()
list(REMOVE_DUPLICATES targets)
install(TARGETS ${targets} EXPORT MetronomeKitTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
install(EXPORT MetronomeKitTargets NAMESPACE MetronomeKit::
  DESTINATION ${METRONOME_CMAKE_DIR} COMPONENT Development)

foreach(dir platform framework rackctls effectlib)
  if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${dir})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${METRONOME_INCLUDE_DIR}/${dir}
      COMPONENT Development
      FILES_MATCHING PATTERN "*.h" PATTERN "*_p.h" EXCLUDE PATTERN "FontImpl.h" EXCLUDE)
  endif()
endforeach()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/MetronomeKitConfig.cmake.in
  ${PROJECT_BINARY_DIR}/MetronomeKitConfig.cmake INSTALL_DESTINATION ${METRONOME_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MetronomeKitConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/MetronomeKitConfig.cmake
  ${PROJECT_BINARY_DIR}/MetronomeKitConfigVersion.cmake
  DESTINATION ${METRONOME_CMAKE_DIR} COMPONENT Development)

# pkg-config files find the prefix from their own place, so that `cmake --install
# --prefix` anywhere gives working files. The framework and the control libraries are
# linked whole (their classes register themselves); each archive is one -Wl token, so
# pkg-config's removal of repeated flags cannot split a --whole-archive pair.
file(RELATIVE_PATH METRONOME_PC_TO_PREFIX /root/${METRONOME_PC_DIR} /root)
string(REGEX REPLACE "/$" "" METRONOME_PC_TO_PREFIX "${METRONOME_PC_TO_PREFIX}")
set(METRONOME_PC_EXTRA_LIBS "")
if(METRONOME_SANITIZE)
  set(METRONOME_PC_EXTRA_LIBS " -fsanitize=address,undefined")
endif()

function(layer_pkg_config layer description requires libs)
  if(NOT TARGET metronomekit_${layer})
    return()
  endif()
  string(REPLACE "_" "-" name "metronomekit-${layer}")
  set(PC_NAME ${name})
  set(PC_DESCRIPTION ${description})
  set(PC_REQUIRES ${requires})
  set(PC_LIBS "${libs}")
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/metronomekit.pc.in
    ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${METRONOME_PC_DIR}
    COMPONENT Development)
endfunction()

set(whole "-Wl,--whole-archive,-lmetronomekit-LAYER,--no-whole-archive")
layer_pkg_config(platform "Platform services: raster engine, text, window-system interface, sound"
  "sdl2 freetype2 fontconfig libpng libpulse"
  "-lmetronomekit-platform -pthread${METRONOME_PC_EXTRA_LIBS}")
layer_pkg_config(platform_sdl "The SDL2 window-system backend, for real windows"
  "metronomekit-platform sdl2 x11" "-lmetronomekit-platform-sdl")
layer_pkg_config(platform_headless "The headless window-system backend, for tests"
  "metronomekit-platform" "-lmetronomekit-platform-headless")
string(REPLACE LAYER framework libs "${whole}")
layer_pkg_config(framework "The component framework: components, streaming, graphics, controls, forms"
  "metronomekit-platform" "${libs}")
string(REPLACE LAYER rackctls libs "${whole}")
layer_pkg_config(rackctls "Instrument-panel controls: LED button, screw panel, LED display"
  "metronomekit-framework" "${libs}")
string(REPLACE LAYER effectlib libs "${whole}")
layer_pkg_config(effectlib "The effect control library: effect-drawn controls and bitmap effects"
  "metronomekit-framework" "${libs}")
