# Writes OUTPUT, a C++ file that holds each of INPUTS as the string constant
# of the same place in NAMES (cmake -DOUTPUT=... -DINPUTS=a;b -DNAMES=kA;kB -P).
set(text "// Made by embed_assets.cmake from the page's files: edit those, not this.\n")
string(APPEND text "#include \"view/page_assets.h\"\n\nnamespace scenario::view {\n\n")
foreach(input name IN ZIP_LISTS INPUTS NAMES)
  file(READ "${input}" content)
  if(content MATCHES "\\)page_asset\"")
    message(FATAL_ERROR "${input} holds the raw string's closing mark )page_asset\"")
  endif()
  string(APPEND text "const std::string_view ${name} = R\"page_asset(${content})page_asset\";\n\n")
endforeach()
string(APPEND text "}  // namespace scenario::view\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
