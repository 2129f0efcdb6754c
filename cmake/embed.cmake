# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kSymbol -DNAMESPACE=ns -P embed.cmake
# Writes the bytes of INPUT as a C++ array, so the program carries the file.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\nnamespace ${NAMESPACE} {\n\n"
"extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}Size;\n\n"
"const unsigned char ${NAME}[] = {\n    ${bytes}\n};\nconst std::size_t ${NAME}Size = ${size};\n\n}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
