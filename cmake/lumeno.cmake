# lumeno_add_plugin(NAME SOURCES...)
# A plug-in is a module library named exactly as its deliverable (no "lib"
# prefix), placed in the plug-ins folder, linked against the platform and
# carrying its own copy of the frame.
function(lumeno_add_plugin name)
  add_library(${name} MODULE ${ARGN} $<TARGET_OBJECTS:plugin_frame_objects>)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${LUMENO_PLUGIN_DIR}
    BUILD_RPATH "$ORIGIN/../lib")
  target_link_libraries(${name} PRIVATE pf plugin_frame_headers)
  target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--exclude-libs,ALL)
endfunction()
