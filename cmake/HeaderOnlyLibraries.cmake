# Header-only libraries from Debian's -dev packages, as INTERFACE targets.
#
# The native build could take them straight from /usr/include, but the MinGW-w64 build of
# tramis-cli must not see the rest of that folder (glibc's headers). So each library gets a
# folder of its own in the build tree holding only a link to its headers, and the targets
# put that folder on the include path of whoever links them, in either build.
#
#   tramis_header_library(TARGET PACKAGE SUBPATH [DEFINITIONS...])
#     TARGET     the INTERFACE target to define, e.g. header_eigen
#     PACKAGE    the Debian package that holds the headers (named in the error message)
#     SUBPATH    the folder under TRAMIS_SYSTEM_INCLUDE_DIR that #include lines start from
#                its last element, e.g. eigen3/Eigen for #include <Eigen/Dense>
#     DEFINITIONS  compile definitions every user of the library needs
set(TRAMIS_SYSTEM_INCLUDE_DIR /usr/include CACHE PATH
    "Where Debian's packages put the headers of the header-only libraries")

function(tramis_header_library target package subpath)
  if(TARGET ${target})
    return()
  endif()
  set(source ${TRAMIS_SYSTEM_INCLUDE_DIR}/${subpath})
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "${source} is missing: install the Debian package ${package} "
                        "(scripts/install-deps.sh installs it in either profile)")
  endif()
  get_filename_component(name ${subpath} NAME)
  set(folder ${PROJECT_BINARY_DIR}/header-libraries/${target})
  file(MAKE_DIRECTORY ${folder})
  file(CREATE_LINK ${source} ${folder}/${name} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${folder})
  if(ARGN)
    target_compile_definitions(${target} INTERFACE ${ARGN})
  endif()
endfunction()

# The libraries the project uses; each folder links the ones it needs.
macro(tramis_define_header_libraries)
  tramis_header_library(header_eigen libeigen3-dev eigen3/Eigen)
  tramis_header_library(header_boost libboost-dev boost)
  tramis_header_library(header_json nlohmann-json3-dev nlohmann)
  tramis_header_library(header_cli11 libcli11-dev CLI)
  # CGAL's exact predicates fall back on Boost.Multiprecision without GMP, which MinGW-w64
  # does not have; both builds use the same arithmetic that way.
  tramis_header_library(header_cgal libcgal-dev CGAL CGAL_DISABLE_GMP=1 CGAL_HEADER_ONLY=1)
  if(TARGET header_cgal)
    target_link_libraries(header_cgal INTERFACE header_boost)
  endif()
endmacro()
