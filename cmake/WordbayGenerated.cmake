# A table compiled into a library, written at build time by a program built
# for the purpose (from ICU's data): the file only appears once whole.
#
#   wordbay_generated_table(GENERATOR OUTPUT_VAR NAME COMMENT)
# Sets OUTPUT_VAR to <binary dir>/generated/NAME, which the library lists
# among its sources and whose folder it adds to its include path.
function(wordbay_generated_table generator output_var name comment)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
    add_custom_command(OUTPUT ${dir}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${generator} > ${dir}/${name}.new
        COMMAND ${CMAKE_COMMAND} -E rename ${dir}/${name}.new ${dir}/${name}
        DEPENDS ${generator}
        COMMENT "${comment}")
    set(${output_var} ${dir}/${name} PARENT_SCOPE)
endfunction()
