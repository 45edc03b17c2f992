# Turns the pictures stored with the forms into one C++ source file.
# Usage: cmake -DOUT=file.cpp -DFILES="a.gif;b.gif" -P embed.cmake
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
set(table "")
foreach(path IN LISTS FILES)
  get_filename_component(base "${path}" NAME_WE)
  string(MAKE_C_IDENTIFIER "${base}" id)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const std::uint8_t k_${id}[] = {${bytes}};\n")
  string(APPEND table "    {\"${base}\", {k_${id}, sizeof k_${id}}},\n")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from assets/formdata by cmake/embed.cmake.\n"
  "#include <cstdint>\n#include <span>\n#include <string_view>\n\nnamespace kv {\nnamespace {\n"
  "${body}}  // namespace\n\n"
  "struct EmbeddedEntry { std::string_view name; std::span<const std::uint8_t> bytes; };\n"
  "extern const EmbeddedEntry kEmbedded[];\nextern const std::size_t kEmbeddedCount;\n"
  "const EmbeddedEntry kEmbedded[] = {\n${table}};\n"
  "const std::size_t kEmbeddedCount = sizeof kEmbedded / sizeof kEmbedded[0];\n}  // namespace kv\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
