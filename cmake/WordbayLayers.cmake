# The layers of the tree and what each may see.
#
#   ui -> app -> engine/lexbase.h (the engine's client header, with the table
#   of its answers) -> engine -> platform
#   hook and speech stand on their own (speech over platform); lookup/ (the
#   look-up image) is a client of lexbase.h and platform, which tools/ uses
#   (app/ and ui/ may); tools/ is a client of lexbase.h and platform like app/.
#
# A layer's targets do not get the whole tree on their include path: each gets
# a folder of its own under <build>/layers/ holding links to the folders it may
# include from, so a wrong #include fails to compile instead of passing review.
# The word "lexbase" stands for the engine's client headers alone: lexbase.h
# and the table of its answers, lexbase_messages.h.
#
#   wordbay_layer_includes(target PUBLIC|PRIVATE|INTERFACE folder...)
function(wordbay_layer_includes target scope)
    set(view ${CMAKE_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view})
    foreach(folder ${ARGN})
        if(folder STREQUAL "lexbase")
            file(MAKE_DIRECTORY ${view}/engine)
            foreach(header lexbase.h lexbase_messages.h)
                file(CREATE_LINK ${PROJECT_SOURCE_DIR}/engine/${header}
                     ${view}/engine/${header} SYMBOLIC)
            endforeach()
        else()
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${view})
endfunction()
