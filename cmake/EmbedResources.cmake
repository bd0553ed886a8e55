# showrama_embed_resources(<target> <function-name> <folder>)
#
# Compiles every file below <folder> (hidden files and README* left out) into <target> and
# generates `void <function-name>()`, which registers them with host::RegisterResources.
# The program must declare and call that function itself, early in main: objects of a static
# library that nothing references are dropped by the linker, so a self-registering static
# object would silently lose the files. <target> must link the host library.
#
# The generator rewrites its output only when the text changes, so touching a resource
# without changing it recompiles nothing.

# Captured here: inside the function CMAKE_CURRENT_LIST_DIR names the caller's file.
set(SHOWRAMA_EMBED_SOURCE "${CMAKE_CURRENT_LIST_DIR}/../tools/embed/embed.cpp")

function(showrama_embed_resources target function folder)
  if(NOT TARGET showrama_embed)
    add_executable(showrama_embed "${SHOWRAMA_EMBED_SOURCE}")
  endif()

  get_filename_component(folder "${folder}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(NOT IS_DIRECTORY "${folder}")
    message(FATAL_ERROR "showrama_embed_resources: no resource folder ${folder}")
  endif()
  # New and deleted files re-run the configuration, which updates the dependencies below.
  file(GLOB_RECURSE files CONFIGURE_DEPENDS "${folder}/*")

  # The list of names is a dependency of its own: a file renamed or removed keeps older times
  # than the generated source, so only a changed list tells the build to embed again.
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${function}.files")
  string(REPLACE ";" "\n" listing "${files}")
  file(CONFIGURE OUTPUT "${list_file}" CONTENT "${listing}\n")

  set(output "${CMAKE_CURRENT_BINARY_DIR}/${function}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND showrama_embed "${output}" "${function}" "${folder}"
    DEPENDS showrama_embed ${files} "${list_file}"
    COMMENT "Embedding resources of ${folder}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
