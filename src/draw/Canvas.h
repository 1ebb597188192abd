#pragma once
// Drawing canvases (QImage with alpha) and handing them to the image library.

#include <FreeImage.h>
#include <QColor>
#include <QImage>
#include <QPolygon>

#include "settings/Settings.h"

namespace tarvix {

// A settings colour with an alpha (0..255).
QColor ToColor(const Rgb& rgb, int alpha = 255);

// A transparent canvas; a null image when it cannot be allocated.
QImage CreateCanvas(int width, int height);
// The canvas as a 32-bit bitmap with alpha: the pixels handed over directly,
// alpha un-premultiplied and rows in the library's bottom-up order. Gives the
// same bitmap as encoding the canvas as PNG and decoding that.
FIBITMAP* CanvasToBitmap(const QImage& canvas);
// The bitmap's pixels as a canvas (8, 24 and 32 bits).
QImage BitmapToCanvas(FIBITMAP* bitmap);

// Composites a 32-bit overlay over the part of image (24 bits) it covers at
// (x, y), in place. Transparent overlay pixels composite to exactly the
// picture's own pixels, so this equals compositing a whole-picture canvas.
void CompositeOnto(FIBITMAP* image, FIBITMAP* overlay, int x, int y);

// Fills without anti-aliasing, replacing what was there.
void FillRect(QImage& canvas, const QRect& rect, const QColor& color);
void FillPolygon(QImage& canvas, const QPolygon& polygon, const QColor& color);
// Draws source over target at (0, 0) with a constant alpha (0..255).
void DrawCanvas(QImage& target, const QImage& source, int alpha);
// Multiplies the alpha of every pixel of a straight (ARGB32) canvas by alpha/255.
void ScaleAlpha(QImage& canvas, int alpha);

} // namespace tarvix
