# Writes OUTPUT, a C++ source that holds each of FILES (separated by "|")
# whole, as a raw string literal: the section tables travel inside the
# programs, the static Windows build included.
#   cmake -DOUTPUT=SectionFiles.cpp "-DFILES=a.csv|b.csv" -P EmbedSectionFiles.cmake
string(REPLACE "|" ";" files "${FILES}")
set(text "// Made from design/sections by design/EmbedSectionFiles.cmake; not to be edited.\n"
         "#include \"design/EmbeddedSectionFiles.h\"\n\nnamespace {\n\nconstexpr EmbeddedSectionFile files[] = {\n")
string(JOIN "" text ${text})
foreach(path IN LISTS files)
    file(READ "${path}" content)
    get_filename_component(name "${path}" NAME)
    string(FIND "${content}" ")csv\"" closing)
    if(NOT closing EQUAL -1)
        message(FATAL_ERROR "${path} holds )csv\", which would end its string early")
    endif()
    string(APPEND text "    {\"${name}\", R\"csv(${content})csv\"},\n")
endforeach()
string(APPEND text "};\n\n}  // namespace\n\nstd::span<const EmbeddedSectionFile> embeddedSectionFiles() { return files; }\n")
file(WRITE "${OUTPUT}" "${text}")
