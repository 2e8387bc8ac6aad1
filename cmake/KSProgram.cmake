# ks_program(target DESCRIPTION text)
#   Makes an executable one of the product's programs: it gets a version
#   resource (product, company, version, copyright and the description shown
#   in the file's properties) and goes into the packages (cmake --install puts
#   it at the top of the package; scripts/make-packages.sh builds the zip and
#   the installer from there). Only in the Windows build.
#
# The target package-contents builds every such program and whatever else the
# packages hold (packaging/CMakeLists.txt adds the skins).
if(WIN32)
  add_custom_target(package-contents)
endif()

function(ks_program target)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  if(NOT ARG_DESCRIPTION)
    message(FATAL_ERROR "ks_program(${target}): DESCRIPTION is missing")
  endif()
  set(KS_RC_PROGRAM "${target}")
  set(KS_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(KS_RC_FILE_FLAGS "VS_FF_DEBUG")
  else()
    set(KS_RC_FILE_FLAGS "0")
  endif()
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  install(TARGETS ${target} RUNTIME DESTINATION .)
  add_dependencies(package-contents ${target})
endfunction()
