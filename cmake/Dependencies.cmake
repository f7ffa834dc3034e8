# Third-party packages, all from Debian (see scripts/setup).
find_package(OpenGL REQUIRED)

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  find_package(X11 REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
  find_package(PNG REQUIRED)
  find_package(Freetype REQUIRED)
  find_package(Fontconfig REQUIRED)
  pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
  pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
  pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
else()
  set(GLU_LIB glu32)
endif()

if(ORINTHAL_TESTS)
  # The Windows build compiles GoogleTest from Debian's sources itself
  # (tests/windows), since the packaged libraries are Linux ones.
  if(NOT WIN32)
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()
if(ORINTHAL_BENCHMARKS AND NOT WIN32)
  find_package(benchmark REQUIRED)
endif()
