#pragma once
// Where a BtnST puts its image and its caption: plain rectangle arithmetic,
// kept apart from painting so that it can be checked on its own.
#include <windows.h>

// Image placements of a BtnST.
enum BtnSTContentLayout {
    kImageLeft = 0,     // image at the left margin, caption after it
    kImageAbove = 1,    // image centred at the top margin, caption below it
    kImageRight = 2,    // image at the right margin, caption before it
    kImageOverlap = 3,  // image in the top-left corner, caption over the whole button
    kContentLayoutCount = 4
};

struct BtnSTContentRects {
    RECT image;    // the image's own rectangle (its size, placed)
    RECT caption;  // the area the caption is centred in
};

// Places an image of the given size and the caption area inside the button.
// Without a caption the image is centred whatever the layout; an empty image
// leaves the whole button to the caption.
BtnSTContentRects LayOutBtnSTContent(const RECT& button, SIZE image, bool hasCaption, int layout,
                                     POINT imageMargin);

// A block of the given size centred in the area (halves truncate).
RECT CentreInRect(const RECT& area, SIZE size);

RECT ShiftRect(RECT rect, POINT shift);
