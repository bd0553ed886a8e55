// ShellExecute: decides what the target is (URL, folder, document, program) and what to
// start for it. The Win32 entry point binding the kernel's path mapping is in win32_api.cpp.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/shell/opener.h"
#include "platform/win32/shell.h"

namespace shell {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The scheme of "scheme:rest" (RFC 3986 letters), or empty. A single letter is a drive.
std::string_view Scheme(std::string_view s) {
  const size_t colon = s.find(':');
  if (colon == std::string_view::npos || colon < 2) return {};
  if (!std::isalpha(static_cast<unsigned char>(s[0]))) return {};
  for (size_t i = 1; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return {};
  }
  return s.substr(0, colon);
}

constexpr std::array<std::string_view, 5> kOpenedSchemes = {"http", "https", "mailto", "ftp", "file"};

int Fail(int code, DWORD error) {
  SetLastError(error);
  return code;
}

bool IsDirectory(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A missing target: "file not found" when its folder is there, "path not found" otherwise.
int Missing(const std::string& host) {
  std::string parent = host;
  while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
  const size_t slash = parent.rfind('/');
  const bool names_folder = host.size() > 1 && host.back() == '/';
  parent = slash == std::string::npos ? "." : slash == 0 ? "/" : parent.substr(0, slash);
  if (!names_folder && IsDirectory(parent)) return Fail(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
  return Fail(SE_ERR_PNF, ERROR_PATH_NOT_FOUND);
}

}  // namespace

int Execute(const char* operation, const char* file, const char* parameters, const char* directory,
            const ToHostPath& to_host) {
  if (!file || !*file) return Fail(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
  const std::string_view verb = operation ? operation : "";
  const bool open = verb.empty() || EqualNoCase(verb, "open");
  const bool explore = EqualNoCase(verb, "explore");
  if (!open && !explore) return Fail(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);

  std::string workdir;
  if (directory && *directory) {
    auto d = to_host(directory);
    if (!d || !IsDirectory(*d)) return Fail(SE_ERR_PNF, ERROR_PATH_NOT_FOUND);
    workdir = *d;
  }

  const std::string_view target = file;
  if (const std::string_view scheme = Scheme(target); !scheme.empty()) {
    const bool known = std::any_of(kOpenedSchemes.begin(), kOpenedSchemes.end(),
                                   [&](std::string_view s) { return EqualNoCase(s, scheme); });
    if (!known || !open) return Fail(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    return Launch({OpenerProgram(), std::string(target)}, workdir, true);
  }

  const auto host = to_host(target);
  if (!host || host->empty()) return Fail(SE_ERR_PNF, ERROR_PATH_NOT_FOUND);
  struct stat st;
  if (stat(host->c_str(), &st) != 0) {
    if (explore) return Fail(SE_ERR_PNF, ERROR_PATH_NOT_FOUND);
    return Missing(*host);
  }
  if (S_ISDIR(st.st_mode)) return Launch({OpenerProgram(), *host}, workdir, true);
  if (explore) return Fail(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
  if (S_ISREG(st.st_mode) && access(host->c_str(), X_OK) == 0) {
    // A name without a slash would send posix_spawnp searching PATH for another program.
    Argv argv{host->find('/') == std::string::npos ? "./" + *host : *host};
    for (auto& p : SplitParameters(parameters ? parameters : "")) argv.push_back(std::move(p));
    return Launch(argv, workdir, false);
  }
  // A document: its parameters mean nothing to the program that opens it.
  return Launch({OpenerProgram(), *host}, workdir, true);
}

}  // namespace shell
