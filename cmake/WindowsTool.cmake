# add_tool(NAME SOURCES src... LIBS lib...): one windowless GUI program for Windows, with our
# own start-up (the runtime's differs from the command-tail rules), a version record and no
# DLL beyond Windows' own.
set(TOOL_COMPILE_OPTIONS -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -Wall -Wextra)
set(TOOL_LINK_OPTIONS -static -s -Wl,--gc-sections)

function(add_tool name)
  cmake_parse_arguments(TOOL "" "" "SOURCES;LIBS" ${ARGN})
  set(TOOL_NAME ${name})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc @ONLY)
  add_executable(${name} WIN32
    ${TOOL_SOURCES}
    ${PROJECT_SOURCE_DIR}/startup/command_tail.cpp
    ${PROJECT_SOURCE_DIR}/startup/windows_entry.cpp
    ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/startup ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${TOOL_COMPILE_OPTIONS})
  target_link_options(${name} PRIVATE ${TOOL_LINK_OPTIONS})
  target_link_libraries(${name} PRIVATE ${TOOL_LIBS})
endfunction()
