#include "starter/unpacked_code.h"

#include "core/program/program_entry.h"

namespace setuvane::starter {
namespace {

constexpr char kFolderPrefix[] = "SetuvaneCode-";
constexpr char kFileName[] = "setuvane-code.dll";

// The file calls of one character width.
template <typename Char>
struct Calls;

template <>
struct Calls<char> {
  using FindData = WIN32_FIND_DATAA;
  static DWORD TempPath(DWORD size, char* path) { return GetTempPathA(size, path); }
  static UINT WindowsFolder(char* path, UINT size) { return GetWindowsDirectoryA(path, size); }
  static BOOL MakeFolder(const char* path) { return CreateDirectoryA(path, nullptr); }
  static BOOL RemoveFolder(const char* path) { return RemoveDirectoryA(path); }
  static BOOL Delete(const char* path) { return DeleteFileA(path); }
  static HANDLE Open(const char* path, DWORD access, DWORD share, DWORD how) {
    return CreateFileA(path, access, share, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  static HMODULE Load(const char* path) { return LoadLibraryA(path); }
  static HANDLE FindFirst(const char* pattern, FindData* data) { return FindFirstFileA(pattern, data); }
  static BOOL FindNext(HANDLE find, FindData* data) { return FindNextFileA(find, data); }
};

template <>
struct Calls<wchar_t> {
  using FindData = WIN32_FIND_DATAW;
  static DWORD TempPath(DWORD size, wchar_t* path) { return GetTempPathW(size, path); }
  static UINT WindowsFolder(wchar_t* path, UINT size) { return GetWindowsDirectoryW(path, size); }
  static BOOL MakeFolder(const wchar_t* path) { return CreateDirectoryW(path, nullptr); }
  static BOOL RemoveFolder(const wchar_t* path) { return RemoveDirectoryW(path); }
  static BOOL Delete(const wchar_t* path) { return DeleteFileW(path); }
  static HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD how) {
    return CreateFileW(path, access, share, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  static HMODULE Load(const wchar_t* path) { return LoadLibraryW(path); }
  static HANDLE FindFirst(const wchar_t* pattern, FindData* data) { return FindFirstFileW(pattern, data); }
  static BOOL FindNext(HANDLE find, FindData* data) { return FindNextFileW(find, data); }
};

bool OnWindowsNt() { return (GetVersion() & 0x80000000u) == 0; }

template <typename Char>
size_t Length(const Char* text) {
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// Appends ASCII `text` at `at`, `room` characters there; false when it does not fit.
template <typename Char>
bool Append(Char* at, size_t room, const char* text) {
  const size_t n = Length(text);
  if (n >= room) return false;
  for (size_t i = 0; i <= n; ++i) at[i] = Char(static_cast<unsigned char>(text[i]));
  return true;
}

template <typename Char>
bool AppendNumber(Char* at, size_t room, DWORD number) {
  char digits[12];
  int i = sizeof digits - 1;
  digits[i] = 0;
  do {
    digits[--i] = char('0' + number % 10);
    number /= 10;
  } while (number != 0);
  return Append(at, room, digits + i);
}

// The places the code may be unpacked in, tried in turn: the temporary folder, and
// where that cannot be used (TEMP naming a folder that is gone), the system's own
// below the Windows folder, which an installation run as an administrator can
// always write to.
constexpr int kPlaces = 2;

// The place's folder ending in "\"; its length, 0 when there is none.
template <typename Char>
size_t PlaceFolder(int place, Char* path, size_t room) {
  size_t n = place == 0 ? Calls<Char>::TempPath(DWORD(room), path) : Calls<Char>::WindowsFolder(path, UINT(room));
  if (n == 0 || n >= room) return 0;
  if (path[n - 1] != '\\') {
    if (!Append(path + n, room - n, "\\")) return 0;
    ++n;
  }
  if (place == 1) {
    if (!Append(path + n, room - n, "Temp\\")) return 0;
    n += 5;
  }
  return n;
}

bool WriteAll(HANDLE file, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file, bytes, DWORD(size), &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

// The CRC-32 of the file's bytes as read back through `file`; false when they
// cannot be read or are not `size` bytes.
bool ChecksumOfFile(HANDLE file, uint32_t size, uint32_t& checksum, uint8_t* buffer, size_t room) {
  checksum = 0;
  uint32_t total = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, DWORD(room), &got, nullptr)) return false;
    if (got == 0) return total == size;
    total += got;
    checksum = ChecksumOf(buffer, got, checksum);
  }
}

}  // namespace

UnpackedCode::UnpackedCode() : wide_(OnWindowsNt()) {}

UnpackedCode::~UnpackedCode() {
  if (module_ != nullptr) FreeLibrary(module_);
  if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
  if (wide_) {
    RemoveAs(wideFolder_, wideFile_);
  } else {
    RemoveAs(narrowFolder_, narrowFile_);
  }
}

template <typename Char>
void UnpackedCode::RemoveAs(const Char* folder, const Char* file) {
  if (file[0] != 0) Calls<Char>::Delete(file);
  if (madeFolder_) Calls<Char>::RemoveFolder(folder);
}

StartFailure UnpackedCode::Unpack(const CarriedCode& code) {
  if (!Plausible(code)) return StartFailure::kDamaged;
  return wide_ ? UnpackAs(code, wideFolder_, wideFile_) : UnpackAs(code, narrowFolder_, narrowFile_);
}

template <typename Char>
HANDLE UnpackedCode::NewFile(Char* folder, Char* file) {
  const size_t folderRoom = MAX_PATH + 32, fileRoom = MAX_PATH + 64;
  for (int place = 0; place < kPlaces; ++place) {
    const size_t base = PlaceFolder(place, folder, MAX_PATH + 1);
    if (base == 0) continue;
    // A name no other run has: the process id, then a count until one is free.
    const DWORD process = GetCurrentProcessId();
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
      Append(folder + base, folderRoom - base, kFolderPrefix);
      const size_t prefix = Length(folder);
      AppendNumber(folder + prefix, folderRoom - prefix, process + attempt * 0x10000);
      if (!Calls<Char>::MakeFolder(folder)) {
        if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
        break;  // not here: the next place
      }
      madeFolder_ = true;
      const size_t named = Length(folder);
      for (size_t i = 0; i <= named; ++i) file[i] = folder[i];
      Append(file + named, fileRoom - named, "\\");
      Append(file + named + 1, fileRoom - named - 1, kFileName);
      const HANDLE written = Calls<Char>::Open(file, GENERIC_WRITE, 0, CREATE_NEW);
      if (written != INVALID_HANDLE_VALUE) return written;
      // Another start may have taken the new folder for one left behind.
      file[0] = 0;
      Calls<Char>::RemoveFolder(folder);
      madeFolder_ = false;
    }
  }
  return INVALID_HANDLE_VALUE;
}

template <typename Char>
StartFailure UnpackedCode::StoreAndHold(const CarriedCode& code, uint8_t* bytes, Char* folder, Char* file) {
  const HANDLE written = NewFile(folder, file);
  if (written == INVALID_HANDLE_VALUE) return StartFailure::kNoFolder;
  const bool stored = WriteAll(written, bytes, code.size);
  if (!(CloseHandle(written) && stored)) return StartFailure::kNoFolder;
  held_ = Calls<Char>::Open(file, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (held_ == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return StartFailure::kNoFolder;
    // Another start took the folder for one left behind while the file was closed.
    RemoveAs(folder, file);
    file[0] = 0;
    madeFolder_ = false;
    return StartFailure::kNone;
  }
  uint32_t checksum = 0;
  if (!ChecksumOfFile(held_, code.size, checksum, bytes, code.size + 1) || checksum != code.checksum)
    return StartFailure::kDamaged;
  return StartFailure::kNone;
}

template <typename Char>
StartFailure UnpackedCode::UnpackAs(const CarriedCode& code, Char* folder, Char* file) {
  // The decoded bytes, then the file read back into the same memory.
  uint8_t* bytes = static_cast<uint8_t*>(VirtualAlloc(nullptr, code.size + 1, MEM_COMMIT, PAGE_READWRITE));
  if (bytes == nullptr) return StartFailure::kNoFolder;
  const Unpacking unpacked = UnpackCode(code, bytes);
  StartFailure failure = unpacked == Unpacking::kDone      ? StartFailure::kNone
                         : unpacked == Unpacking::kDamaged ? StartFailure::kDamaged
                                                           : StartFailure::kNoFolder;
  for (int round = 0; round < 3 && failure == StartFailure::kNone && held_ == INVALID_HANDLE_VALUE; ++round)
    failure = StoreAndHold(code, bytes, folder, file);
  if (failure == StartFailure::kNone && held_ == INVALID_HANDLE_VALUE) failure = StartFailure::kNoFolder;
  VirtualFree(bytes, 0, MEM_RELEASE);
  if (failure != StartFailure::kNone) return failure;

  module_ = Calls<Char>::Load(file);
  entry_ = module_ != nullptr ? GetProcAddress(module_, kProgramEntryName) : nullptr;
  return entry_ != nullptr ? StartFailure::kNone : StartFailure::kNotLoadable;
}

template <typename Char>
void RemoveLeftFoldersAs(int place) {
  Char pattern[MAX_PATH + 32], path[MAX_PATH + 64 + MAX_PATH];
  const size_t base = PlaceFolder(place, pattern, MAX_PATH + 1);
  if (base == 0) return;
  Append(pattern + base, sizeof pattern / sizeof(Char) - base, kFolderPrefix);
  const size_t prefix = Length(pattern);
  Append(pattern + prefix, sizeof pattern / sizeof(Char) - prefix, "*");
  typename Calls<Char>::FindData found;
  const HANDLE find = Calls<Char>::FindFirst(pattern, &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    const size_t name = Length(found.cFileName);
    if (base + name + 2 + sizeof kFileName >= sizeof path / sizeof(Char)) continue;
    for (size_t i = 0; i < base; ++i) path[i] = pattern[i];
    for (size_t i = 0; i <= name; ++i) path[base + i] = found.cFileName[i];
    const size_t folder = base + name;
    Append(path + folder, 2, "\\");
    Append(path + folder + 1, sizeof kFileName, kFileName);
    // A run still going holds its file: neither goes then.
    if (Calls<Char>::Delete(path) || GetLastError() == ERROR_FILE_NOT_FOUND) {
      path[folder] = 0;
      Calls<Char>::RemoveFolder(path);
    }
  } while (Calls<Char>::FindNext(find, &found));
  FindClose(find);
}

void RemoveLeftFolders() {
  for (int place = 0; place < kPlaces; ++place) {
    if (OnWindowsNt()) {
      RemoveLeftFoldersAs<wchar_t>(place);
    } else {
      RemoveLeftFoldersAs<char>(place);
    }
  }
}

}  // namespace setuvane::starter
