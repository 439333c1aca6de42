// Shortcut files through the shell link object: CoCreateInstance of CLSID_ShellLink
// with IShellLinkA for the properties and IPersistFile to save. COM must be
// initialised on the calling thread (the program entry does it).
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>

#include "system/shell_link_writer.h"

namespace setuvane {
namespace {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComPointer = std::unique_ptr<Interface, ComRelease>;

std::string WithResult(const std::string& text, HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(result));
  return text + " (" + code + ")";
}

// The save takes its file name in UTF-16; the program's paths are ANSI.
std::wstring WidePath(const std::string& path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
  return wide;
}

class Win32ShellLinkWriter final : public ShellLinkWriter {
 public:
  void Write(const ShellLinkProperties& link) override {
    IShellLinkA* rawLink = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                      IID_IShellLinkA, reinterpret_cast<void**>(&rawLink));
    if (FAILED(result)) throw EShellLinkError(WithResult("The shell link object cannot be created", result));
    ComPointer<IShellLinkA> shellLink(rawLink);
    IPersistFile* rawFile = nullptr;
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
    if (FAILED(result)) throw EShellLinkError(WithResult("The shell link object cannot be saved", result));
    ComPointer<IPersistFile> file(rawFile);

    shellLink->SetArguments(link.parameters.c_str());
    shellLink->SetDescription(link.description.c_str());
    shellLink->SetHotkey(link.hotKey);
    if (!link.iconFile.empty()) shellLink->SetIconLocation(link.iconFile.c_str(), link.iconIndex);
    shellLink->SetPath(link.programFile.c_str());
    shellLink->SetShowCmd(ShowCommandOf(link.windowState));
    shellLink->SetWorkingDirectory(link.workingFolder.c_str());
    result = file->Save(WidePath(link.linkFile).c_str(), FALSE);
    if (FAILED(result)) throw EShellLinkError(WithResult("Unable to save the shortcut " + link.linkFile, result));
  }
};

}  // namespace

ShellLinkWriter& DefaultShellLinkWriter() {
  static Win32ShellLinkWriter writer;
  return writer;
}

}  // namespace setuvane
