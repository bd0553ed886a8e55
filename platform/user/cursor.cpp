// Cursors: the standard shapes, custom cursors from AND/XOR planes, the current cursor, the
// pointer position and the cursor clip.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/user/cursor.h"
#include "platform/user/queue.h"

namespace user {
namespace {

struct CursorObject {
  display::CursorImage image;
};

struct CursorState {
  std::vector<std::unique_ptr<CursorObject>> cursors;  // handle = index + 1, never reused
  std::map<uintptr_t, HCURSOR> standard;
  HCURSOR current = nullptr;
  int show_count = 0;
  POINT pos{0, 0};
  bool clipped = false;
  RECT clip{0, 0, 0, 0};
  std::function<void(const display::CursorImage*)> on_change;
  std::function<void(int, int)> on_warp;
};

CursorState& C() {
  static auto* c = new CursorState;
  return *c;
}

HCURSOR Add(display::CursorImage image) {
  auto& c = C();
  c.cursors.push_back(std::make_unique<CursorObject>(CursorObject{std::move(image)}));
  return reinterpret_cast<HCURSOR>(c.cursors.size());
}

CursorObject* Get(HCURSOR h) {
  const auto i = reinterpret_cast<uintptr_t>(h);
  auto& c = C();
  return i >= 1 && i <= c.cursors.size() ? c.cursors[i - 1].get() : nullptr;
}

// Standard shapes as pictures: '#' black, '.' white, ' ' transparent; 'H' marks the hot spot
// (drawn black).
struct Shape {
  uintptr_t id;
  std::vector<const char*> rows;
};

const Shape kShapes[] = {
    {32512, {"H           ", "##          ", "#.#         ", "#..#        ", "#...#       ", "#....#      ",
             "#.....#     ", "#......#    ", "#.......#   ", "#........#  ", "#.....#####  ", "#..#..#     ",
             "#.# #..#    ", "##  #..#    ", "#    #..#   ", "     #..#   ", "      ##    "}},
    {32513, {"###.###", "...#...", "   #   ", "   #   ", "   #   ", "   #   ", "   #   ", "   H   ", "   #   ",
             "   #   ", "   #   ", "   #   ", "   #   ", "...#...", "###.###"}},
    {32514, {"###########", "#.........#", " #.......# ", " #.#.#.#.# ", "  #.#.#.#  ", "   #.#.#   ",
             "    #H#    ", "   #...#   ", "  #..#..#  ", " #...#...# ", " #..#.#..# ", "#.#.#.#.#.#",
             "###########"}},
    {32515, {"     #     ", "     #     ", "     #     ", "     #     ", "     #     ", "#####H#####",
             "     #     ", "     #     ", "     #     ", "     #     ", "     #     "}},
    {32516, {"    #    ", "   ###   ", "  #####  ", " ####### ", "#########", "   ###   ", "   ###   ",
             "   #H#   ", "   ###   ", "   ###   ", "   ###   "}},
    {32642, {"#######     ", "#.....#     ", "#....#      ", "#...#       ", "#..#.#      ", "#.# #.#     ",
             "##   #H#   #", "      #.# ##", "       #.#.#", "      #...#", "     #....#", "    #.....#",
             "    #######"}},
    {32643, {"     #######", "     #.....#", "      #....#", "       #...#", "      #.#..#", "     #.# #.#",
             "#   #H#   ##", "## #.#      ", "#.#.#       ", "#...#       ", "#....#      ", "#.....#     ",
             "#######     "}},
    {32644, {"    #      #    ", "   ##      ##   ", "  #.#      #.#  ", " #..########..# ",
             "#.......H......#", " #..########..# ", "  #.#      #.#  ", "   ##      ##   ",
             "    #      #    "}},
    {32645, {"    #    ", "   #.#   ", "  #...#  ", " #.....# ", "####.####", "   #.#   ", "   #.#   ",
             "   #H#   ", "   #.#   ", "   #.#   ", "####.####", " #.....# ", "  #...#  ", "   #.#   ",
             "    #    "}},
    {32646, {"      #      ", "     #.#     ", "    #...#    ", "   ###.###   ", "  #  #.#  #  ",
             " ##  #.#  ## ", "#.#######.#  ", "#.....H....# ", "#.#######.#  ", " ##  #.#  ## ",
             "  #  #.#  #  ", "   ###.###   ", "    #...#    ", "     #.#     ", "      #      "}},
    {32648, {"    #####    ", "  ##.....##  ", " #..#####..# ", " #.#     #..#", "#.#     #.#.#",
             "#.#    #.# .#", "#.#   H.#  .#", "#.#  #.#   .#", "#.# #.#   #.#", " #..#    #.# ",
             " #..#####..# ", "  ##.....##  ", "    #####    "}},
    {32649, {"     H#       ", "    #..#      ", "    #..#      ", "    #..#      ", "    #..###    ",
             "    #..#..### ", " ## #..#..#..#", "#..##.......#", "#...#.......#", " #..........#",
             "  #.........#", "  #........# ", "   #.......# ", "   #......#  ", "    ######   "}},
};

display::CursorImage FromShape(const Shape& s) {
  display::CursorImage img{};
  img.height = static_cast<int>(s.rows.size());
  for (const char* r : s.rows) img.width = std::max<int>(img.width, static_cast<int>(std::string(r).size()));
  img.argb.assign(static_cast<size_t>(img.width) * img.height, 0);
  for (int y = 0; y < img.height; ++y) {
    const std::string row = s.rows[static_cast<size_t>(y)];
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
      uint32_t& px = img.argb[static_cast<size_t>(y) * img.width + x];
      switch (row[static_cast<size_t>(x)]) {
        case 'H':
          img.hot_x = x;
          img.hot_y = y;
          px = 0xFF000000;
          break;
        case '#': px = 0xFF000000; break;
        case '.': px = 0xFFFFFFFF; break;
        default: break;
      }
    }
  }
  return img;
}

void Notify() {
  auto& c = C();
  if (!c.on_change) return;
  CursorObject* o = c.show_count >= 0 ? Get(c.current) : nullptr;
  c.on_change(o ? &o->image : nullptr);
}

}  // namespace

void SetCursorSink(std::function<void(const display::CursorImage*)> on_change, std::function<void(int, int)> on_warp) {
  C().on_change = std::move(on_change);
  C().on_warp = std::move(on_warp);
  Notify();
}

POINT ClipPoint(POINT p) {
  auto& c = C();
  if (c.clipped) {
    p.x = std::clamp<LONG>(p.x, c.clip.left, c.clip.right - 1);
    p.y = std::clamp<LONG>(p.y, c.clip.top, c.clip.bottom - 1);
  }
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  p.x = std::clamp<LONG>(p.x, 0, sw - 1);
  p.y = std::clamp<LONG>(p.y, 0, sh - 1);
  return p;
}

void MovePointer(POINT p) { C().pos = ClipPoint(p); }

const display::CursorImage* CursorImageOf(HCURSOR h) {
  CursorObject* o = Get(h);
  return o ? &o->image : nullptr;
}

}  // namespace user

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
  const auto id = reinterpret_cast<uintptr_t>(name);
  auto& c = user::C();
  if (auto it = c.standard.find(id); it != c.standard.end()) return it->second;
  const user::Shape* shape = nullptr;
  for (const user::Shape& s : user::kShapes)
    if (s.id == id) shape = &s;
  // Shapes not drawn here (help, app-starting) use the arrow, as a missing cursor would.
  if (!shape && (id == 32651 || id == 32650)) shape = &user::kShapes[0];
  if (!shape) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  HCURSOR h = user::Add(user::FromShape(*shape));
  c.standard[id] = h;
  return h;
}

HCURSOR CreateCursor(HINSTANCE, int hot_x, int hot_y, int width, int height, const void* and_plane,
                     const void* xor_plane) {
  if (width <= 0 || height <= 0 || width > 256 || height > 256 || !and_plane || !xor_plane || hot_x < 0 ||
      hot_y < 0 || hot_x >= width || hot_y >= height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  display::CursorImage img{width, height, hot_x, hot_y, {}};
  img.argb.resize(static_cast<size_t>(width) * height);
  const size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
  const auto* a = static_cast<const uint8_t*>(and_plane);
  const auto* x = static_cast<const uint8_t*>(xor_plane);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) {
      const size_t byte = stride * row + col / 8;
      const int bit = 0x80 >> (col % 8);
      const bool and_bit = a[byte] & bit, xor_bit = x[byte] & bit;
      // AND 1 + XOR 0 = screen shows through; AND 0 = the XOR colour; AND 1 + XOR 1 inverts,
      // shown here as black, the closest a colour cursor has.
      uint32_t px = 0;
      if (!and_bit) px = xor_bit ? 0xFFFFFFFF : 0xFF000000;
      else if (xor_bit) px = 0xFF000000;
      img.argb[static_cast<size_t>(row) * width + col] = px;
    }
  return user::Add(std::move(img));
}

BOOL DestroyCursor(HCURSOR cursor) {
  // Cursor handles stay valid for the life of the program (standard ones are shared).
  return user::Get(cursor) ? TRUE : FALSE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  auto& c = user::C();
  HCURSOR old = c.current;
  if (cursor != old) {
    c.current = cursor;
    user::Notify();
  }
  return old;
}

HCURSOR GetCursor() { return user::C().current; }

int ShowCursor(BOOL show) {
  auto& c = user::C();
  const bool was_shown = c.show_count >= 0;
  c.show_count += show ? 1 : -1;
  if (was_shown != (c.show_count >= 0)) user::Notify();
  return c.show_count;
}

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  *pt = user::C().pos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  auto& c = user::C();
  c.pos = user::ClipPoint(POINT{x, y});
  if (c.on_warp) c.on_warp(c.pos.x, c.pos.y);
  return TRUE;
}

BOOL ClipCursor(const RECT* rc) {
  auto& c = user::C();
  if (!rc) {
    c.clipped = false;
    return TRUE;
  }
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  RECT r{std::max<LONG>(0, std::min(rc->left, rc->right)), std::max<LONG>(0, std::min(rc->top, rc->bottom)),
         std::min<LONG>(sw, std::max(rc->left, rc->right)), std::min<LONG>(sh, std::max(rc->top, rc->bottom))};
  if (r.left >= r.right || r.top >= r.bottom) return FALSE;
  c.clip = r;
  c.clipped = true;
  SetCursorPos(c.pos.x, c.pos.y);  // the pointer moves into the new clip at once
  return TRUE;
}

BOOL GetClipCursor(LPRECT rc) {
  if (!rc) return FALSE;
  auto& c = user::C();
  *rc = c.clipped ? c.clip : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }
UINT GetCaretBlinkTime() { return 530; }
