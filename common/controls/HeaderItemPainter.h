// Paints the items of a list's themed header with one themed background per item size: the theme draws
// an item's background as a stretched image, which costs about half a millisecond an item under Wine, and
// a grid of many equal columns would pay it once per column at every opening. The backgrounds, drawn once
// for a theme and a DPI, serve every list of the module, dialog after dialog. The text is laid out and drawn
// with the theme exactly as the header lays it out. Anything the header shows beyond a plain text (images,
// bitmaps, sort arrows, owner drawing, a hot or pressed item under the mouse) is left to the header.
#pragma once

#include "platform/AfxWin.h"

class CHeaderItemPainter {
public:
    // The header's custom draw notification: what the header is to do next.
    LRESULT OnCustomDraw(NMCUSTOMDRAW& cd);
    // Gives back the backgrounds drawn so far (the theme or the colours changed).
    static void Reset();

private:
    bool CanPaintItems(HWND hHeader) const;
    bool PaintItem(HWND hHeader, NMCUSTOMDRAW& cd);
    bool m_bPainting = false; // this paint's items are painted here
};
