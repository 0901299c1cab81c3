# Writes OUT, a C++ source that defines the std::string_view VAR (declared in embedded_data.h) as the
# exact bytes of the file IN. Run as: cmake -DIN=... -DOUT=... -DVAR=... -P embed.cmake
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REPEAT "'[^']*'," 16 sixteen)
string(REGEX REPLACE "(${sixteen})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${IN}" NAME)
file(WRITE "${OUT}.new"
  "// Made at build time from ${name} by tools/embed.cmake; do not edit.\n"
  "#include \"tools/embedded_data.h\"\n\n"
  "namespace {\nconst char bytes[] = {\n    ${bytes}};\n}  // namespace\n\n"
  "namespace embedded_data {\nconst std::string_view ${VAR}(bytes, sizeof bytes);\n}  // namespace embedded_data\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
