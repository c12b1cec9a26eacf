# One interface target carries the language level, warnings and defines that
# every target of the project builds with.
add_library(kelmira_options INTERFACE)
target_compile_features(kelmira_options INTERFACE cxx_std_20)
target_compile_options(kelmira_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
if(KELMIRA_WERROR)
  target_compile_options(kelmira_options INTERFACE -Werror)
endif()
if(KELMIRA_SANITIZE)
  # Every target links kelmira_options, so the whole program and its tests are
  # instrumented alike. A UBSan finding aborts, so it fails the test.
  target_compile_options(kelmira_options INTERFACE
    -fsanitize=${KELMIRA_SANITIZE} -fno-omit-frame-pointer)
  target_link_options(kelmira_options INTERFACE -fsanitize=${KELMIRA_SANITIZE})
  if(KELMIRA_SANITIZE MATCHES "undefined")
    target_compile_options(kelmira_options INTERFACE -fno-sanitize-recover=all)
  endif()
endif()
target_compile_definitions(kelmira_options INTERFACE
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  KELMIRA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  KELMIRA_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  KELMIRA_VERSION_RELEASE=${PROJECT_VERSION_PATCH}
  KELMIRA_VERSION_BUILD=${PROJECT_VERSION_TWEAK}
  KELMIRA_VERSION_TEXT="${PROJECT_VERSION}")

# Adds a library of one source folder; LOGIC libraries may link Qt Core only.
function(kelmira_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC kelmira_options ${ARG_LIBS})
endfunction()
