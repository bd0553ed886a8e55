// The two drives as volumes: type, label, file system and free space.
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <string>

#include "platform/kernel/files_internal.h"
#include "platform/kernel/paths.h"
#include "platform/win32/file.h"

namespace {

// The drive letter of a root such as "C:\", "c:/" or "C:"; a null root means the current
// directory's drive. 0 for anything that is not a drive root.
char RootDrive(LPCSTR root) {
  std::string r;
  if (root) {
    r = root;
  } else {
    char cwd[MAX_PATH];
    if (GetCurrentDirectory(MAX_PATH, cwd) == 0) return 0;
    r.assign(cwd, 3);
  }
  if (r.size() < 2 || r.size() > 3 || r[1] != ':') return 0;
  if (r.size() == 3 && r[2] != '\\' && r[2] != '/') return 0;
  char d = static_cast<char>(r[0] & ~0x20);
  return (d == 'C' || d == 'Z') ? d : 0;
}

std::string DriveHost(char drive) { return drive == 'C' ? kernel::DriveCRoot() : "/"; }

const char* FileSystemName(long type) {
  switch (static_cast<unsigned long>(type)) {
    case 0xEF53: return "ext4";
    case 0x01021994: return "tmpfs";
    case 0x9123683E: return "btrfs";
    case 0x58465342: return "xfs";
    case 0x794C7630: return "overlay";
    case 0x6969: return "nfs";
    default: return "FAT";
  }
}

bool PutString(const std::string& s, LPSTR buffer, DWORD size) {
  if (!buffer) return true;
  if (s.size() + 1 > size) return false;
  s.copy(buffer, s.size());
  buffer[s.size()] = '\0';
  return true;
}

}  // namespace

UINT GetDriveType(LPCSTR root) { return RootDrive(root) ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR; }

BOOL GetVolumeInformation(LPCSTR root, LPSTR volume_name, DWORD volume_name_size,
                          LPDWORD serial, LPDWORD max_component, LPDWORD flags,
                          LPSTR file_system_name, DWORD file_system_name_size) {
  char drive = RootDrive(root);
  if (!drive) {
    SetLastError(root && std::string(root).size() >= 2 && root[1] == ':' ? ERROR_PATH_NOT_FOUND
                                                                          : ERROR_INVALID_NAME);
    return FALSE;
  }
  std::string host = DriveHost(drive);
  struct statfs fs;
  struct stat st;
  if (statfs(host.c_str(), &fs) != 0 || stat(host.c_str(), &st) != 0) {
    SetLastError(kernel::ErrorFromErrno(errno, host));
    return FALSE;
  }
  if (!PutString(drive == 'C' ? "SHOWRAMA" : "", volume_name, volume_name_size) ||
      !PutString(FileSystemName(fs.f_type), file_system_name, file_system_name_size)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  // The device number is stable for as long as the volume is mounted; mixed so C: and Z: on
  // the same device still differ.
  if (serial)
    *serial = static_cast<DWORD>(st.st_dev * 2654435761u) ^ static_cast<DWORD>(drive);
  if (max_component) *max_component = 255;
  if (flags) *flags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL GetDiskFreeSpaceEx(LPCSTR directory, PULARGE_INTEGER free_to_caller,
                        PULARGE_INTEGER total, PULARGE_INTEGER total_free) {
  std::string host;
  if (directory) {
    DWORD error = 0;
    auto h = kernel::ResolveHostPath(directory, MAX_PATH, &error);
    if (!h) {
      SetLastError(error);
      return FALSE;
    }
    host = *h;
  } else {
    host = *kernel::HostPath(".");
  }
  struct statvfs vfs;
  if (statvfs(host.c_str(), &vfs) != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : kernel::ErrorFromErrno(errno, host));
    return FALSE;
  }
  ULONGLONG unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  if (free_to_caller) free_to_caller->QuadPart = unit * vfs.f_bavail;
  if (total) total->QuadPart = unit * vfs.f_blocks;
  if (total_free) total_free->QuadPart = unit * vfs.f_bfree;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
