# kestrel_warnings carries the warning flags every target of ours links; kestrel_sanitize the
# sanitizer flags when KESTREL_SANITIZE is on.
add_library(kestrel_warnings INTERFACE)
target_compile_options(kestrel_warnings INTERFACE
  -Wall -Wextra -Wshadow $<$<COMPILE_LANGUAGE:CXX>:-Wsuggest-override>)
if(KESTREL_WERROR)
  target_compile_options(kestrel_warnings INTERFACE -Werror)
endif()

if(KESTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# kestrel_library(name SOURCES ... DEPS ...): one static library per subsystem.
function(kestrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE kestrel_warnings ${ARG_PRIVATE_DEPS})
endfunction()
