# Run by CPack on the staged files before the Debian package is made: the
# package depends on the libraries the program needs and recommends those
# the web view module adds (the web engine), as dpkg-shlibdeps finds them.
# The module is loaded only when a live web page is shown, so the designer
# works without it.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()  # the source package depends on nothing
endif()
find_program(TESSARY_SHLIBDEPS dpkg-shlibdeps REQUIRED)
set(_root "${CPACK_TEMPORARY_DIRECTORY}")
set(_binaries -dDepends "${_root}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/tessary-designer")
file(GLOB_RECURSE _modules "${_root}/*/tessary-webview.so")
if(_modules)
  list(APPEND _binaries -dRecommends ${_modules})
endif()

# dpkg-shlibdeps wants a debian/control beside it; an empty one will do.
set(_work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(REMOVE_RECURSE "${_work}")
file(WRITE "${_work}/debian/control" "")
execute_process(COMMAND "${TESSARY_SHLIBDEPS}" -O ${_binaries}
  WORKING_DIRECTORY "${_work}"
  OUTPUT_VARIABLE _found ERROR_VARIABLE _error RESULT_VARIABLE _result)
file(REMOVE_RECURSE "${_work}")
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${_error}")
endif()

# Lines of "shlibs:Depends=..." and "shlibs:Recommends=...".
foreach(_field Depends Recommends)
  string(TOUPPER ${_field} _upper)
  if(_found MATCHES "shlibs:${_field}=([^\n]*)")
    set(_list "${CMAKE_MATCH_1}")
    if(CPACK_DEBIAN_PACKAGE_${_upper})
      string(APPEND _list ", ${CPACK_DEBIAN_PACKAGE_${_upper}}")
    endif()
    set(CPACK_DEBIAN_PACKAGE_${_upper} "${_list}")
  endif()
endforeach()
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
message(STATUS "Recommends: ${CPACK_DEBIAN_PACKAGE_RECOMMENDS}")
