# One static library per folder of src/. A layer sees only the folders it is
# given: its include root is a folder of links to them, so an include of a
# higher layer's header fails to compile instead of creeping in.
#
# quorix_layer(NAME FOLDER dir [SEES dir...] [LINKS target...] [SOURCES file...])
function(quorix_layer name)
  cmake_parse_arguments(L "" "FOLDER" "SEES;LINKS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${L_FOLDER}/*.cpp
       ${PROJECT_SOURCE_DIR}/src/${L_FOLDER}/*.h)
  add_library(${name} STATIC ${sources} ${L_SOURCES})
  quorix_layer_view(${name} ${L_FOLDER} ${L_SEES})
  target_link_libraries(${name} PUBLIC ${L_LINKS})
endfunction()

# Gives a target the include root of the given src/ folders only.
function(quorix_layer_view target)
  set(view ${PROJECT_BINARY_DIR}/layer_views/${target})
  file(REMOVE_RECURSE ${view})
  file(MAKE_DIRECTORY ${view})
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
endfunction()
