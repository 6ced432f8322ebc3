# Helpers that gather the licence texts and notices of the Windows download.

# varnhold_copy_notice(FROM TO): copies a licence text, and reconfigures when
# it changes. A missing text stops the configure: a download without it
# could not be given out.
function(varnhold_copy_notice from to)
  if(NOT EXISTS "${from}")
    message(FATAL_ERROR "Licence text ${from} is missing")
  endif()
  get_filename_component(dir "${to}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${from}" "${to}")
  # Several components share a text, named by different paths ("a/../b"); Ninja
  # refuses a file named twice.
  file(REAL_PATH "${from}" from)
  get_property(known DIRECTORY PROPERTY CMAKE_CONFIGURE_DEPENDS)
  if(NOT from IN_LIST known)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${from}")
  endif()
endfunction()

# varnhold_write_crlf(TEMPLATE OUT): OUT is TEMPLATE with its @VARIABLES@
# replaced, every line ended in CR LF, for Windows' Notepad before 2018,
# which shows LF-only text as one line. (configure_file's NEWLINE_STYLE
# leaves the lines inside a replaced value as they are.)
function(varnhold_write_crlf template out)
  file(READ "${template}" text)
  string(CONFIGURE "${text}" text @ONLY)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${out}" "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${template}")
endfunction()

# varnhold_qt_attribution(OUT DIR ID): the entry ID of the attribution file
# Qt keeps in DIR (qt_attribution.json: one entry or a list of them), as JSON.
function(varnhold_qt_attribution out dir id)
  set(file "${dir}/qt_attribution.json")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "Qt's attribution file ${file} is missing")
  endif()
  file(READ "${file}" json)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  # Entries are read by index: their text may hold semicolons, which a
  # CMake list would split.
  string(JSON type TYPE "${json}")
  if(type STREQUAL "ARRAY")
    string(JSON count LENGTH "${json}")
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON this GET "${json}" ${i} Id)
      if(this STREQUAL id)
        string(JSON entry GET "${json}" ${i})
        set(${out} "${entry}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
  else()
    string(JSON this GET "${json}" Id)
    if(this STREQUAL id)
      set(${out} "${json}" PARENT_SCOPE)
      return()
    endif()
  endif()
  message(FATAL_ERROR "No entry ${id} in ${file}")
endfunction()

# varnhold_qt_component(OUT DLL SOURCE DIR ID LICENSES): the notice of one
# component of Qt, built into DLL, from its attribution entry ID in
# SOURCE/DIR, as text for THIRD-PARTY.txt; its licence texts are copied into
# the folder LICENSES (licenses/qt in the zip) as ID.txt, or ID-1.txt,
# ID-2.txt... when several.
function(varnhold_qt_component out dll source dir id licenses)
  varnhold_qt_attribution(entry "${source}/${dir}" ${id})
  foreach(key Name Version License LicenseId Copyright LicenseFile LicenseFiles)
    string(JSON ${key} ERROR_VARIABLE missing GET "${entry}" ${key})
    if(missing)
      set(${key} "")
    endif()
  endforeach()

  set(text "  ${Name}")
  if(NOT Version STREQUAL "")
    string(APPEND text " ${Version}")
  endif()
  string(APPEND text " (in ${dll})\n    ${License}")
  if(NOT LicenseId STREQUAL "")
    string(APPEND text " (${LicenseId})")
  endif()
  string(APPEND text "\n")

  set(files "")
  if(NOT LicenseFile STREQUAL "")
    set(files "${LicenseFile}")
  elseif(NOT LicenseFiles STREQUAL "")
    string(JSON count LENGTH "${entry}" LicenseFiles)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON f GET "${entry}" LicenseFiles ${i})
      list(APPEND files "${f}")
    endforeach()
  endif()
  list(LENGTH files count)
  set(n 0)
  foreach(f IN LISTS files)
    math(EXPR n "${n} + 1")
    if(count EQUAL 1)
      set(name "${id}.txt")
    else()
      set(name "${id}-${n}.txt")
    endif()
    varnhold_copy_notice("${source}/${dir}/${f}" "${licenses}/${name}")
    string(APPEND text "    Licence text: licenses/qt/${name}\n")
  endforeach()

  if(NOT Copyright STREQUAL "")
    string(STRIP "${Copyright}" Copyright)
    string(REPLACE "\n" "\n    " Copyright "${Copyright}")
    string(APPEND text "    ${Copyright}\n")
  endif()
  set(${out} "${text}\n" PARENT_SCOPE)
endfunction()
