# tessel_add_resources(<target> SOURCES a.klx ... [PATHS dir ...] [DEFINES ID ...] [SCALES s ...]
#                      [CODE_PAGE n] [WINDRES])
#
# Converts each KLX source with tessel::tessel into a resource script in the build tree
# (<binary dir>/tessel/<target>/<name>.rc, with its icon, cursor and list files beside it) and adds
# the script to <target>, which compiles it as an RC source: the project must enable the RC
# language. Call it in the directory that defines <target>.
#   SOURCES    the KLX sources, relative to the current source directory
#   PATHS      -p: the image directory first, then the directories of embedded files
#              (relative entries are taken from the current source directory)
#   DEFINES    -d: the directive IDs
#   SCALES     -w: image scale multipliers, each above 1.0, at most five
#   CODE_PAGE  -c: the code page of the sources
#   WINDRES    --windres: a script that GNU windres compiles as it is
# Where the generator reads depfiles, tessel writes one, so that edits to the source and to every
# image and data file it read convert the source again.
include_guard(GLOBAL)

function(tessel_add_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WINDRES" "CODE_PAGE" "SOURCES;PATHS;DEFINES;SCALES")
  set(where "tessel_add_resources(${target})")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "${where}: unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "${where}: no value given for ${arg_KEYWORDS_MISSING_VALUES}")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "${where}: no SOURCES given")
  endif()

  set(inputs "")
  set(names "")
  foreach(source IN LISTS arg_SOURCES)
    get_filename_component(input "${source}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    if(NOT EXISTS "${input}" OR IS_DIRECTORY "${input}")
      message(FATAL_ERROR "${where}: source file not found: ${input}")
    endif()
    get_filename_component(name "${input}" NAME_WLE)
    if(name IN_LIST names)
      message(FATAL_ERROR "${where}: two sources make the script ${name}.rc: ${arg_SOURCES}")
    endif()
    list(APPEND inputs "${input}")
    list(APPEND names "${name}")
  endforeach()

  set(options -t w)
  if(arg_PATHS)
    list(LENGTH arg_PATHS count)
    if(count GREATER 10)
      message(FATAL_ERROR "${where}: at most 10 PATHS, got ${count}")
    endif()
    set(paths "")
    foreach(path IN LISTS arg_PATHS)
      get_filename_component(path "${path}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
      list(APPEND paths "${path}")
    endforeach()
    # One -p argument holding the ';'-separated list, not one argument per entry.
    list(JOIN paths "$<SEMICOLON>" paths)
    list(APPEND options -p "${paths}")
  endif()
  if(DEFINED arg_CODE_PAGE)
    list(APPEND options -c "${arg_CODE_PAGE}")
  endif()
  if(arg_SCALES)
    list(LENGTH arg_SCALES count)
    if(count GREATER 5)
      message(FATAL_ERROR "${where}: at most 5 SCALES, got ${count}")
    endif()
    foreach(scale IN LISTS arg_SCALES)
      if(NOT scale MATCHES "^[0-9]*\\.?[0-9]+$" OR NOT scale GREATER 1)
        message(FATAL_ERROR "${where}: SCALES must be numbers above 1.0, got ${scale}")
      endif()
    endforeach()
    list(APPEND options -w ${arg_SCALES})
  endif()
  foreach(id IN LISTS arg_DEFINES)
    list(APPEND options -d "${id}")
  endforeach()
  if(arg_WINDRES)
    list(APPEND options --windres)
  endif()

  if(NOT TARGET ${target})
    message(FATAL_ERROR "${where}: no target named ${target}")
  endif()
  get_target_property(target_dir ${target} SOURCE_DIR)
  if(NOT target_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    message(FATAL_ERROR "${where}: call it in ${target_dir}, where the target is defined")
  endif()
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if(NOT RC IN_LIST languages)
    message(FATAL_ERROR "${where}: the RC language is not enabled (project(... RC) or enable_language(RC))")
  endif()

  # DEPFILE: Ninja and the Makefile generators since CMake 3.20, every generator since 3.21.
  set(use_depfile FALSE)
  if(CMAKE_GENERATOR MATCHES "Ninja|Makefiles" OR NOT CMAKE_VERSION VERSION_LESS 3.21)
    set(use_depfile TRUE)
  endif()

  set(dir "${CMAKE_CURRENT_BINARY_DIR}/tessel/${target}")
  foreach(input name IN ZIP_LISTS inputs names)
    set(script "${dir}/${name}.rc")
    set(depfile_options "")
    if(use_depfile)
      set(depfile_options --depfile "${script}.d")
      set(depfile DEPFILE "${script}.d")
    endif()
    add_custom_command(OUTPUT "${script}"
      COMMAND tessel::tessel -i "${input}" -o "${script}" ${options} ${depfile_options}
      DEPENDS "${input}" tessel::tessel
      ${depfile}
      WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
      COMMENT "Converting ${input} with tessel"
      VERBATIM)
    target_sources(${target} PRIVATE "${script}")
  endforeach()
  # The icon, cursor and list files beside the scripts.
  set_property(TARGET ${target} APPEND PROPERTY ADDITIONAL_CLEAN_FILES "${dir}")
endfunction()
