# Copies one help source, written in UTF-8, as the GB2312 text that Windows' HTML Help reads
# for a Simplified Chinese help file, and makes its charset declaration say so.
#   cmake -DICONV=<iconv> -DINPUT=<source> -DOUTPUT=<staged copy> -P to_gb2312.cmake
file(READ "${INPUT}" text)
string(REPLACE "charset=utf-8" "charset=gb2312" text "${text}")
file(WRITE "${OUTPUT}.utf8" "${text}")
execute_process(
  COMMAND "${ICONV}" -f UTF-8 -t GB2312 "${OUTPUT}.utf8"
  OUTPUT_FILE "${OUTPUT}"
  ERROR_VARIABLE problem
  RESULT_VARIABLE failed)
file(REMOVE "${OUTPUT}.utf8")
if(failed)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "${INPUT}: not convertible to GB2312 (every character must exist in the "
                      "Simplified Chinese code page): ${problem}")
endif()
