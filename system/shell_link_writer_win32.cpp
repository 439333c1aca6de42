// Shortcut files through the shell link object: CoCreateInstance of CLSID_ShellLink
// with IPersistFile to save, and its properties through IShellLinkW with UTF-16 on
// the NT family, through IShellLinkA in the system's code page on Windows 9x, whose
// shell has no other (system/wide_or_ansi_choice_win32.h chooses). COM must be
// initialised on the calling thread (the program entry does it).
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "system/shell_link_writer.h"
#include "system/wide_or_ansi_choice_win32.h"

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

// The texts of a shortcut in one set's form: UTF-16 for IShellLinkW, the ANSI code
// page for IShellLinkA (nullopt when that cannot hold one of them).
struct WideTexts {
  using Text = std::wstring;
  static std::optional<Text> Of(const std::string& text) { return win32::Wide(text); }
};
struct AnsiTexts {
  using Text = std::string;
  static std::optional<Text> Of(const std::string& text) { return win32::Ansi(text); }
};

template <class Interface, class Texts>
void WriteThrough(REFIID interfaceId, const ShellLinkProperties& link) {
  const auto parameters = Texts::Of(link.parameters), description = Texts::Of(link.description),
             iconFile = Texts::Of(link.iconFile), programFile = Texts::Of(link.programFile),
             workingFolder = Texts::Of(link.workingFolder);
  // The save takes its file name in UTF-16 on every system; on Windows 9x the shell
  // turns it into the code page's form, so the name must fit that too.
  const bool nameHeld = !win32::AnsiCalls() || win32::Ansi(link.linkFile);
  if (!parameters || !description || !iconFile || !programFile || !workingFolder || !nameHeld) {
    throw EShellLinkError("Unable to save the shortcut " + link.linkFile + " (" +
                          win32::SystemErrorText(win32::kNameNotHeld) + ")");
  }
  Interface* rawLink = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, interfaceId,
                                    reinterpret_cast<void**>(&rawLink));
  if (FAILED(result)) throw EShellLinkError(WithResult("The shell link object cannot be created", result));
  ComPointer<Interface> shellLink(rawLink);
  IPersistFile* rawFile = nullptr;
  result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
  if (FAILED(result)) throw EShellLinkError(WithResult("The shell link object cannot be saved", result));
  ComPointer<IPersistFile> file(rawFile);

  shellLink->SetArguments(parameters->c_str());
  shellLink->SetDescription(description->c_str());
  shellLink->SetHotkey(link.hotKey);
  if (!link.iconFile.empty()) shellLink->SetIconLocation(iconFile->c_str(), link.iconIndex);
  shellLink->SetPath(programFile->c_str());
  shellLink->SetShowCmd(ShowCommandOf(link.windowState));
  shellLink->SetWorkingDirectory(workingFolder->c_str());
  result = file->Save(win32::Wide(link.linkFile).c_str(), FALSE);
  if (FAILED(result)) throw EShellLinkError(WithResult("Unable to save the shortcut " + link.linkFile, result));
}

class Win32ShellLinkWriter final : public ShellLinkWriter {
 public:
  void Write(const ShellLinkProperties& link) override {
    if (win32::AnsiCalls()) {
      WriteThrough<IShellLinkA, AnsiTexts>(IID_IShellLinkA, link);
    } else {
      WriteThrough<IShellLinkW, WideTexts>(IID_IShellLinkW, link);
    }
  }
};

}  // namespace

ShellLinkWriter& DefaultShellLinkWriter() {
  static Win32ShellLinkWriter writer;
  return writer;
}

}  // namespace setuvane
