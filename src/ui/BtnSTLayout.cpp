#include "ui/BtnSTLayout.h"

static RECT PlaceAt(LONG left, LONG top, SIZE size) {
    RECT rect = {left, top, left + size.cx, top + size.cy};
    return rect;
}

static LONG CentredStart(LONG low, LONG high, LONG length) { return low + (high - low - length) / 2; }

RECT CentreInRect(const RECT& area, SIZE size) {
    return PlaceAt(CentredStart(area.left, area.right, size.cx), CentredStart(area.top, area.bottom, size.cy),
                   size);
}

RECT ShiftRect(RECT rect, POINT shift) {
    ::OffsetRect(&rect, shift.x, shift.y);
    return rect;
}

BtnSTContentRects LayOutBtnSTContent(const RECT& button, SIZE image, bool hasCaption, int layout,
                                     POINT imageMargin) {
    BtnSTContentRects rects;
    rects.caption = button;
    if (image.cx <= 0 || image.cy <= 0) {
        rects.image = PlaceAt(button.left, button.top, SIZE{0, 0});
        return rects;
    }
    if (!hasCaption) {
        rects.image = CentreInRect(button, image);
        return rects;
    }
    LONG middleTop = CentredStart(button.top, button.bottom, image.cy);
    switch (layout) {
    case kImageAbove:
        rects.image = PlaceAt(CentredStart(button.left, button.right, image.cx), button.top + imageMargin.y, image);
        rects.caption.top = rects.image.bottom;
        break;
    case kImageRight:
        rects.image = PlaceAt(button.right - imageMargin.x - image.cx, middleTop, image);
        rects.caption.right = rects.image.left;
        break;
    case kImageOverlap:
        rects.image = PlaceAt(button.left, button.top, image);
        break;
    default:
        rects.image = PlaceAt(button.left + imageMargin.x, middleTop, image);
        rects.caption.left = rects.image.right;
        break;
    }
    return rects;
}
