// The installer's DLL unpacked into a folder of its own below the temporary
// folder (%TEMP%\SetuvaneCode-N\setuvane-code.dll; where that cannot be used,
// below the Windows folder's Temp), held open for reading without
// write or delete sharing from the check until it is unloaded, so that nothing can
// change it in between; the file and the folder go when the code has run.
#pragma once

#include <windows.h>

#include <cstdint>

#include "starter/carried_code.h"

namespace setuvane::starter {

enum class StartFailure {
  kNone,
  kDamaged,      // the carried code does not decode, or the file does not give it back
  kNoFolder,     // no temporary folder, no room there, or no memory to unpack
  kNotLoadable,  // the system refuses to load the code or it has no entry
};

class UnpackedCode {
 public:
  UnpackedCode();
  ~UnpackedCode();  // unloads the code and removes the file and the folder
  UnpackedCode(const UnpackedCode&) = delete;
  UnpackedCode& operator=(const UnpackedCode&) = delete;

  // Writes, checks and loads the code; then Entry() may be called.
  StartFailure Unpack(const CarriedCode& code);
  FARPROC Entry() const { return entry_; }

 private:
  // Makes the folder and the file, open for writing; INVALID_HANDLE_VALUE when no
  // place has room for them.
  template <typename Char>
  HANDLE NewFile(Char* folder, Char* file);
  // Writes the decoded `bytes` into a new file, opens it again held and checks it;
  // kNone without a held file when another start removed it in between.
  template <typename Char>
  StartFailure StoreAndHold(const CarriedCode& code, uint8_t* bytes, Char* folder, Char* file);
  template <typename Char>
  StartFailure UnpackAs(const CarriedCode& code, Char* folder, Char* file);
  template <typename Char>
  void RemoveAs(const Char* folder, const Char* file);

  // The W calls on Windows NT (any path), the A calls on Windows 9x.
  bool wide_;
  wchar_t wideFolder_[MAX_PATH + 32] = {}, wideFile_[MAX_PATH + 64] = {};
  char narrowFolder_[MAX_PATH + 32] = {}, narrowFile_[MAX_PATH + 64] = {};
  bool madeFolder_ = false;
  HANDLE held_ = INVALID_HANDLE_VALUE;
  HMODULE module_ = nullptr;
  FARPROC entry_ = nullptr;
};

// Removes the folders that runs before this one left behind (one ended at once
// by the code itself, a kill, a power cut); those of runs still going are held
// open and stay.
void RemoveLeftFolders();

}  // namespace setuvane::starter
