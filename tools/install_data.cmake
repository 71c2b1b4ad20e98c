# Lays the shipped data/ folder beside the program.
# Catalogues and pictures are always refreshed; settings files and notes the
# user may have changed (*.ini, *.txt outside img/) are only copied when absent.
# Usage: cmake -DSRC=<repo>/data -DDST=<bindir>/data -P install_data.cmake
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*")
foreach(f IN LISTS files)
  set(dst "${DST}/${f}")
  if(f MATCHES "\\.(ini|txt)$" AND NOT f MATCHES "^img/" AND EXISTS "${dst}")
    continue()
  endif()
  get_filename_component(dir "${dst}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${SRC}/${f}" "${dst}" ONLY_IF_DIFFERENT)
endforeach()
