#include "main/pictures.h"

#include "runtime/pictures.h"

// Drawn by scripts/make-icons.py, which writes the Windows icon files of the same images.
#include "icons/about-16.xpm"
#include "icons/about-32.xpm"
#include "icons/clearmark-16.xpm"
#include "icons/clearmark-32.xpm"

namespace clearmark {

void registerPictures() {
    runtime::registerPicture(runtime::kWindowIcon, {clearmark_32_xpm, clearmark_16_xpm});
    runtime::registerPicture(kAboutPicture, {about_32_xpm, about_16_xpm});
}

} // namespace clearmark
