#pragma once

// The calls from the web implementation's C++ into its page script (dom.js), and the strings
// that script hands back. For the implementation's files only.
#include <string>

namespace clearmark::runtime::web {

// A string the script made with _malloc, taken over and freed.
std::string takeString(char* text);

} // namespace clearmark::runtime::web
