// DrawFocusRect: the dotted outline of the keyboard focus. It is drawn by XOR, so a second
// call with the same rectangle takes it away again.
#include <memory>

#include "platform/gdi/dc.h"
#include "platform/gdi/object.h"
#include "platform/gdi/ui_draw.h"
#include "platform/win32/draw.h"

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return FALSE;
  if (!rc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT r = gdi::ui::ClampRect(*rc);
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;

  // A 50% pattern anchored at the brush origin, XORed in: its set pixels ((x + y) even)
  // take the background colour, the others the text colour, so with the default black on
  // white every other pixel of the outline inverts and the rest stay as they are.
  auto tile = std::make_shared<gdi::InkTile>();
  tile->width = tile->height = 2;
  tile->and_mask.assign(4, gdi::kPixelMask);
  const gdi::Pixel set = dc->Resolve(dc->state().bk_color), clear = dc->Resolve(dc->state().text_color);
  tile->xor_mask = {set, clear, clear, set};
  gdi::Ink ink;
  ink.tile = std::move(tile);
  ink.origin = dc->SurfaceBrushOrigin();

  // One-pixel strips that never overlap, so no pixel is inverted twice.
  gdi::ui::Canvas canvas(*dc, r);
  canvas.Fill(RECT{r.left, r.top, r.right, r.top + 1}, ink);
  if (r.bottom - r.top >= 2) canvas.Fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, ink);
  canvas.Fill(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, ink);
  if (r.right - r.left >= 2) canvas.Fill(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, ink);
  return TRUE;
}
