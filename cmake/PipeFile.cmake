# cmake -DCOMMAND="tool args" -DINPUT=FILE -DOUTPUT=FILE -P PipeFile.cmake
# Runs COMMAND with INPUT as its standard input and OUTPUT as its standard output, for the
# tools that only filter (scdoc, gzip). OUTPUT appears only when the tool succeeded, so that
# a failed run is not mistaken by the build for a finished file.
separate_arguments(_command UNIX_COMMAND "${COMMAND}")
execute_process(COMMAND ${_command}
    INPUT_FILE ${INPUT}
    OUTPUT_FILE ${OUTPUT}.part
    RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
    file(REMOVE ${OUTPUT}.part)
    message(FATAL_ERROR "${COMMAND} < ${INPUT}: ${_result}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
