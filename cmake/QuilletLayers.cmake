# The libraries of app/ and store/ form layers: each uses only the ones below it. CMake lets
# static libraries name each other in a cycle, and a header of a layer above can be included
# without linking it, so both are checked here and either stops the configuration.

# Stops with the path of the first cycle found among the quillet_* libraries reachable from the
# given targets.
function(quillet_require_acyclic)
  foreach(target ${ARGN})
    _quillet_visit_links(${target} "")
  endforeach()
endfunction()

function(_quillet_visit_links target path)
  if(target IN_LIST path)
    list(APPEND path ${target})
    list(JOIN path " -> " cycle)
    message(FATAL_ERROR "The libraries link in a cycle: ${cycle}")
  endif()
  list(APPEND path ${target})
  get_target_property(links ${target} LINK_LIBRARIES)
  foreach(link ${links})
    if(link MATCHES "^quillet_" AND TARGET ${link})
      _quillet_visit_links(${link} "${path}")
    endif()
  endforeach()
endfunction()

# Each library named as FOLDER=TARGET (folders relative to root) may include, by folder
# ("report/ReportTable.h"), only its own folder and the folders of the libraries it links.
# Includes of folders not named here (the store's, Qt's) are not this check's concern.
function(quillet_require_includes_follow_links root)
  set(folders)
  foreach(pair ${ARGN})
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 folder)
    list(GET pair 1 target)
    list(APPEND folders ${folder})
    set(target_of_${folder} ${target})
  endforeach()
  foreach(folder ${folders})
    set(target ${target_of_${folder}})
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(sources ${target} SOURCES)
    foreach(source ${sources})
      get_filename_component(source ${source} ABSOLUTE BASE_DIR ${root})
      if(NOT source MATCHES "\\.(cpp|h)$" OR NOT EXISTS ${source})
        continue()
      endif()
      file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
      foreach(line ${includes})
        string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" used ${line})
        if(used STREQUAL folder OR NOT used IN_LIST folders)
          continue()
        endif()
        if(NOT target_of_${used} IN_LIST links)
          message(FATAL_ERROR "${source} includes ${used}/ but ${target} does not link "
                              "${target_of_${used}}: either the library belongs below it or "
                              "the code belongs elsewhere")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
