#include "app/ButtonLayout.h"

RECT TallerButton(RECT button) {
    button.bottom += 5;
    return button;
}

RECT CentredButton(RECT button, RECT sheetWindow) {
    long width = button.right - button.left;
    button.left = (sheetWindow.left + sheetWindow.right) / 2 - width / 2;
    button.right = button.left + width;
    return button;
}
