# ks_program(target DESCRIPTION text [SHOWS_WINDOWS])
#   Makes an executable one of the product's programs: it gets a version
#   resource (product, company, version, copyright and the description shown
#   in the file's properties) and goes into the packages (cmake --install puts
#   it at the top of the package; scripts/make-packages.sh builds the zip and
#   the installer from there). Only in the Windows build.
#   SHOWS_WINDOWS: the program also gets the application manifest of
#   cmake/WindowedProgram.manifest.in (the current common controls, the
#   Windows versions it supports, and how it stands to screen scaling).
#
# The target package-contents builds every such program and whatever else the
# packages hold (packaging/CMakeLists.txt adds the skins).
if(WIN32)
  add_custom_target(package-contents)
endif()

function(ks_program target)
  cmake_parse_arguments(ARG "SHOWS_WINDOWS" "DESCRIPTION" "" ${ARGN})
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
  if(ARG_SHOWS_WINDOWS)
    set(KS_RC_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/WindowedProgram.manifest.in" "${KS_RC_MANIFEST}"
                   @ONLY)
    set(manifest_rc "${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/WindowedProgram.rc.in" "${manifest_rc}" @ONLY)
    set_source_files_properties("${manifest_rc}" PROPERTIES OBJECT_DEPENDS "${KS_RC_MANIFEST}")
    target_sources(${target} PRIVATE "${manifest_rc}")
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION .)
  add_dependencies(package-contents ${target})
endfunction()
