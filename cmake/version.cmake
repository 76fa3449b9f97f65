# The version of project() reaches the programs through a generated header.
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${PROJECT_BINARY_DIR}/generated/quorix_version.h @ONLY)
add_library(quorix_version INTERFACE)
target_include_directories(quorix_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
foreach(target quorix quorix-cli)
  if(TARGET ${target})
    target_link_libraries(${target} PRIVATE quorix_version)
  endif()
endforeach()
