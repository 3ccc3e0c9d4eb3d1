# A system DLL loaded when the program first calls into it, not at every
# start. NAME-delay.def beside the CMakeLists.txt that calls this names the
# functions we call; add one there when a new one is used. Sets
# NAME_delayed to the import library to link, with delayimp.
function(add_delayed_import name)
  set(library ${CMAKE_CURRENT_BINARY_DIR}/lib${name}_delayed.a)
  add_custom_command(
    OUTPUT ${library}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${CMAKE_CURRENT_SOURCE_DIR}/${name}-delay.def
            --dllname ${name}.dll --output-delaylib ${library}
    DEPENDS ${name}-delay.def)
  add_custom_target(${name}_delayed DEPENDS ${library})
  set(${name}_delayed ${library} PARENT_SCOPE)
endfunction()
