# Compiles a library's pictures once, from its resource script RC_FILE, which finds its .bmp
# files under PICTURE_FOLDER, and puts them straight into every executable that links the
# library: a static library's own resources would never reach the program.
function(quilvane_picture_resources library rc_file picture_folder)
  file(GLOB_RECURSE pictures CONFIGURE_DEPENDS ${picture_folder}/*.bmp)
  add_library(${library}_pictures OBJECT ${rc_file})
  # windres looks for the pictures along the include path.
  target_include_directories(${library}_pictures PRIVATE ${picture_folder})
  set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS "${pictures}")
  target_sources(${library} INTERFACE $<TARGET_OBJECTS:${library}_pictures>)
endfunction()
