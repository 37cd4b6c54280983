# Applied to every target of the project through quillon_warnings.
add_library(quillon_warnings INTERFACE)
target_compile_options(quillon_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(QUILLON_WERROR)
  target_compile_options(quillon_warnings INTERFACE -Werror)
endif()
# GCC 12 at -O2 and above reports "may overlap" for every "text" + std::string temporary
# (GCC bug 105329), which would bury real warnings in the release build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(quillon_warnings INTERFACE -Wno-restrict)
endif()
