# cmake -DSOURCE=<help folder> -DSTAGE=<folder> -DICONV=<iconv> -P stage.cmake
# Copies the help sources into STAGE in code page 936 (GBK), the encoding that CHM viewers
# expect of a Chinese (PRC) help file; the pages then declare that charset. A character
# outside GBK stops the build rather than turning into a question mark.
file(REMOVE_RECURSE ${STAGE})
file(GLOB_RECURSE sources RELATIVE ${SOURCE} ${SOURCE}/*.hhp ${SOURCE}/*.hhc ${SOURCE}/*.hhk
     ${SOURCE}/html/*.htm ${SOURCE}/html/*.css)
foreach(relative IN LISTS sources)
    file(READ ${SOURCE}/${relative} text)
    string(REPLACE "charset=utf-8" "charset=gb2312" text "${text}")
    set(utf8 ${STAGE}/${relative}.utf8)
    get_filename_component(folder ${STAGE}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(WRITE ${utf8} "${text}")
    execute_process(COMMAND ${ICONV} -f UTF-8 -t GBK -o ${STAGE}/${relative} ${utf8}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${relative} holds a character that code page 936 lacks")
    endif()
    file(REMOVE ${utf8})
endforeach()
