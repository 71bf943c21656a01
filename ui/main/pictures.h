#pragma once

#include <string_view>

namespace clearmark {

// The picture of the About window.
inline constexpr std::string_view kAboutPicture = "about";

// Registers the program's two pictures with the window runtime: its icon and the About
// window's picture, each 32 x 32 and 16 x 16 in 16 colours. Call before the first window.
void registerPictures();

} // namespace clearmark
