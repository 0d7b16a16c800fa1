# A folder whose sources are not yet clean under -Wshadow can be built without it, target by
# target, while the rest of the build is held to it.

# Builds every target defined under the given folder (and its subfolders) without -Wshadow.
function(quillet_without_shadow_warnings folder)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT type STREQUAL "UTILITY")
      target_compile_options(${target} PRIVATE -Wno-shadow)
    endif()
  endforeach()
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder ${subfolders})
    quillet_without_shadow_warnings(${subfolder})
  endforeach()
endfunction()
