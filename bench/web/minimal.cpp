// The startup benchmark's reference program: one text box in the page's desktop, made from
// C++ through EM_JS as the program makes its controls, and the same "ready" mark the program
// sets once its main window is shown.
#include <emscripten/emscripten.h>

// clang-format off
EM_JS(void, showOneTextBox, (), {
    const input = document.createElement('input');
    input.type = 'text';
    input.setAttribute('aria-label', 'Measured gap');
    document.getElementById('desktop').appendChild(input);
    input.focus();
    document.documentElement.dataset.clearmark = 'ready';
});
// clang-format on

int main() {
    showOneTextBox();
    return 0;
}
