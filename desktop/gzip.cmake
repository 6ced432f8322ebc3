# Compresses one file as Debian wants it (gzip -9n: the best compression, no
# name or time in the header, so the same input gives the same bytes):
#   cmake -DINPUT=FILE -DOUTPUT=FILE.gz -P gzip.cmake
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT}.tmp RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "gzip ${INPUT}: ${failed}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
