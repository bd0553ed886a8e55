// The clipboard: text kept in the program, shared with the desktop's clipboard when the
// display has one.
#include <string>

#include "platform/user/desktop.h"
#include "platform/win32/user.h"

namespace {

struct Clipboard {
  bool open = false;
  HWND opener = nullptr;
  HWND owner = nullptr;
  bool has_text = false;
  std::string text;
  bool changed = false;  // set while open: the desktop hears of it on close
};

Clipboard& C() {
  static auto* c = new Clipboard;
  return *c;
}

bool CheckOpen() {
  if (C().open) return true;
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

// Text copied on the desktop by another program replaces ours.
void TakeDesktopText() {
  display::Backend* b = desktop::Backend();
  std::string text;
  if (b && b->ClipboardText(&text) && (!C().has_text || text != C().text)) {
    C().text = std::move(text);
    C().has_text = true;
    C().owner = nullptr;
  }
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  if (C().open) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  C().open = true;
  C().opener = owner;
  C().changed = false;
  return TRUE;
}

BOOL CloseClipboard() {
  if (!CheckOpen()) return FALSE;
  Clipboard& c = C();
  c.open = false;
  c.opener = nullptr;
  if (c.changed) {
    c.changed = false;
    if (display::Backend* b = desktop::Backend()) b->SetClipboardText(c.has_text ? c.text : std::string());
  }
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!CheckOpen()) return FALSE;
  Clipboard& c = C();
  c.text.clear();
  c.has_text = false;
  c.owner = c.opener;
  c.changed = true;
  return TRUE;
}

HWND GetClipboardOwner() { return C().owner; }

HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (!CheckOpen()) return nullptr;
  if (format != CF_TEXT || data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Clipboard& c = C();
  c.text = static_cast<const char*>(data);
  c.has_text = true;
  c.changed = true;
  return const_cast<char*>(c.text.c_str());
}

HANDLE GetClipboardData(UINT format) {
  if (!CheckOpen()) return nullptr;
  if (format != CF_TEXT) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  TakeDesktopText();
  if (!C().has_text) return nullptr;
  return const_cast<char*>(C().text.c_str());
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (format != CF_TEXT) return FALSE;
  TakeDesktopText();
  return C().has_text ? TRUE : FALSE;
}

BOOL SetClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return FALSE;
  EmptyClipboard();
  const bool ok = SetClipboardData(CF_TEXT, const_cast<char*>(text.c_str())) != nullptr;
  CloseClipboard();
  return ok ? TRUE : FALSE;
}

std::string GetClipboardText() {
  if (!OpenClipboard(nullptr)) return {};
  std::string text;
  if (auto* p = static_cast<const char*>(GetClipboardData(CF_TEXT))) text = p;
  CloseClipboard();
  return text;
}
