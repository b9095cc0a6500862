# cmake -DSOURCE=<data folder> -DRUNTIME=<runtime folder> -P AssembleRuntime.cmake
file(GLOB_RECURSE handWritten RELATIVE ${SOURCE} ${SOURCE}/Shader/* ${SOURCE}/Resource/*)
foreach(file IN LISTS handWritten)
  get_filename_component(folder ${RUNTIME}/${file} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${SOURCE}/${file} ${RUNTIME}/${file} ONLY_IF_DIFFERENT)
endforeach()

# Best scores live in the runtime directory; a rebuild must never reset them.
foreach(group 1 2 3)
  file(MAKE_DIRECTORY ${RUNTIME}/Resource/BData/STAGE${group})
  foreach(stage 1 2 3 4 5 6)
    set(result ${RUNTIME}/Resource/BData/STAGE${group}/Result${stage}.txt)
    if(NOT EXISTS ${result})
      file(WRITE ${result} "score:0")
    endif()
  endforeach()
endforeach()
