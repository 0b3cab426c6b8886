# add_tool(NAME SOURCES src... LIBS lib...): the same tool sources as an ordinary Linux program
# on the stand-in. NAME_core holds the tool's own code so that tests can call it in-process.
function(add_tool name)
  cmake_parse_arguments(TOOL "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name}_core STATIC ${TOOL_SOURCES})
  target_include_directories(${name}_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${name}_core PRIVATE -Wall -Wextra)
  target_link_libraries(${name}_core PUBLIC winshim)
  add_executable(${name} $<TARGET_OBJECTS:${name}_core>)
  target_link_libraries(${name} PRIVATE winshim_entry winshim)
endfunction()
