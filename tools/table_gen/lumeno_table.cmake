# lumeno_add_table(TARGET
#                  INPUT  table source (docs/table-source-format.md)
#                  HEADER header that declares TYPE and ARRAY
#                  TYPE   record type        ARRAY  array name
#                  FIELDS number of text fields
#                  [COUNT_CONSTANT constant in HEADER that must equal the record count])
#
# Generates <ARRAY>.cpp from the table source with lmTableGen at build time
# and builds it into the static library TARGET (position-independent, so that
# plug-in modules can link it; symbols hidden by the project-wide default).
# Users of TARGET get the header's folder on their include path.
function(lumeno_add_table target)
  cmake_parse_arguments(PARSE_ARGV 1 TABLE "" "INPUT;HEADER;TYPE;ARRAY;FIELDS;COUNT_CONSTANT" "")
  foreach(required INPUT HEADER TYPE ARRAY FIELDS)
    if(NOT TABLE_${required})
      message(FATAL_ERROR "lumeno_add_table(${target}): ${required} is required")
    endif()
  endforeach()
  get_filename_component(input ${TABLE_INPUT} ABSOLUTE)
  get_filename_component(header ${TABLE_HEADER} ABSOLUTE)
  get_filename_component(header_dir ${header} DIRECTORY)
  get_filename_component(header_name ${header} NAME)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${TABLE_ARRAY}.cpp)
  set(count_args)
  if(TABLE_COUNT_CONSTANT)
    set(count_args --count-constant ${TABLE_COUNT_CONSTANT})
  endif()

  add_custom_command(
    OUTPUT ${output}
    COMMAND lmTableGen --input ${input} --output ${output} --include ${header_name}
            --type ${TABLE_TYPE} --array ${TABLE_ARRAY} --fields ${TABLE_FIELDS} ${count_args}
    DEPENDS lmTableGen ${input}
    COMMENT "Generating ${TABLE_ARRAY} from ${TABLE_INPUT}"
    VERBATIM)

  add_library(${target} STATIC ${output} ${header})
  target_include_directories(${target} PUBLIC ${header_dir})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
