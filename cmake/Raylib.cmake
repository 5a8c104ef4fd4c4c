# Finds raylib >= 5.5: an installed one first (pkg-config or CMake package),
# otherwise the static build that scripts/setup-deps.sh leaves in the cache.
# Provides the target cindervale::raylib.

set(CINDERVALE_RAYLIB_PREFIX "$ENV{HOME}/.cache/cindervale/raylib-6.0-glfw-3.4"
  CACHE PATH "raylib/GLFW prefix built by scripts/setup-deps.sh")

# The web build: raylib built for the browser by `scripts/setup-deps.sh web`,
# over Emscripten's GLFW emulation (with the two calls it lacks filled in).
if(EMSCRIPTEN)
  set(CINDERVALE_RAYLIB_WEB_PREFIX "$ENV{HOME}/.cache/cindervale/raylib-6.0-web"
    CACHE PATH "raylib prefix for the web built by scripts/setup-deps.sh web")
  find_path(CV_RAYLIB_INCLUDE raylib.h PATHS ${CINDERVALE_RAYLIB_WEB_PREFIX}/include NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
  find_library(CV_RAYLIB_LIB NAMES libraylib.a PATHS ${CINDERVALE_RAYLIB_WEB_PREFIX}/lib NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
  if(NOT CV_RAYLIB_INCLUDE OR NOT CV_RAYLIB_LIB)
    message(FATAL_ERROR "raylib for the web was not found in ${CINDERVALE_RAYLIB_WEB_PREFIX}; "
      "run scripts/setup-deps.sh web (./web.sh does)")
  endif()
  add_library(cindervale::raylib INTERFACE IMPORTED)
  target_include_directories(cindervale::raylib INTERFACE ${CV_RAYLIB_INCLUDE})
  target_link_libraries(cindervale::raylib INTERFACE ${CV_RAYLIB_LIB})
  target_link_options(cindervale::raylib INTERFACE -sUSE_GLFW=3)
  message(STATUS "raylib: web build from ${CINDERVALE_RAYLIB_WEB_PREFIX}")
  return()
endif()

find_package(PkgConfig QUIET)
set(_cv_raylib_found FALSE)
if(PKG_CONFIG_FOUND AND NOT CINDERVALE_FORCE_LOCAL_RAYLIB)
  pkg_check_modules(CV_SYS_RAYLIB QUIET IMPORTED_TARGET raylib>=5.5)
  if(CV_SYS_RAYLIB_FOUND)
    add_library(cindervale::raylib INTERFACE IMPORTED)
    target_link_libraries(cindervale::raylib INTERFACE PkgConfig::CV_SYS_RAYLIB)
    message(STATUS "raylib: system ${CV_SYS_RAYLIB_VERSION}")
    set(_cv_raylib_found TRUE)
  endif()
endif()

if(NOT _cv_raylib_found)
  find_path(CV_RAYLIB_INCLUDE raylib.h PATHS ${CINDERVALE_RAYLIB_PREFIX}/include NO_DEFAULT_PATH)
  find_library(CV_RAYLIB_LIB NAMES libraylib.a raylib PATHS ${CINDERVALE_RAYLIB_PREFIX}/lib NO_DEFAULT_PATH)
  find_library(CV_GLFW_LIB NAMES libglfw3.a glfw3 PATHS ${CINDERVALE_RAYLIB_PREFIX}/lib NO_DEFAULT_PATH)
  if(NOT CV_RAYLIB_INCLUDE OR NOT CV_RAYLIB_LIB OR NOT CV_GLFW_LIB)
    message(FATAL_ERROR
      "raylib >= 5.5 was not found.\n"
      "Run scripts/setup-deps.sh (it builds raylib 6.0 and GLFW 3.4 into "
      "${CINDERVALE_RAYLIB_PREFIX}), or install raylib >= 5.5 so that "
      "pkg-config finds it, or pass -DCINDERVALE_RAYLIB_PREFIX=<prefix>.")
  endif()
  file(STRINGS ${CV_RAYLIB_INCLUDE}/raylib.h _cv_major REGEX "#define RAYLIB_VERSION_MAJOR")
  file(STRINGS ${CV_RAYLIB_INCLUDE}/raylib.h _cv_minor REGEX "#define RAYLIB_VERSION_MINOR")
  string(REGEX MATCH "[0-9]+" _cv_major "${_cv_major}")
  string(REGEX MATCH "[0-9]+" _cv_minor "${_cv_minor}")
  if(_cv_major LESS 5 OR (_cv_major EQUAL 5 AND _cv_minor LESS 5))
    message(FATAL_ERROR "raylib in ${CINDERVALE_RAYLIB_PREFIX} is ${_cv_major}.${_cv_minor}; 5.5 or newer is needed")
  endif()
  set(THREADS_PREFER_PTHREAD_FLAG ON)
  find_package(Threads REQUIRED)
  find_package(X11 REQUIRED)
  find_package(OpenGL REQUIRED)
  add_library(cindervale::raylib INTERFACE IMPORTED)
  target_include_directories(cindervale::raylib INTERFACE ${CV_RAYLIB_INCLUDE})
  target_link_libraries(cindervale::raylib INTERFACE
    ${CV_RAYLIB_LIB} ${CV_GLFW_LIB} OpenGL::GL ${X11_LIBRARIES}
    Threads::Threads ${CMAKE_DL_LIBS} m rt)
  message(STATUS "raylib: ${_cv_major}.${_cv_minor} from ${CINDERVALE_RAYLIB_PREFIX}")
endif()
