#include "tools/archive_session.h"

#include <cstdio>

#include "tools/console.h"
#include "tools/printable.h"

namespace setuvane::pack {

ArchiveSession::ArchiveSession(const char* command) : command_(command) {
  zip_.OnProcessItemFailure = [this](archive::TAbUnZipper& sender, archive::TAbArchiveItem& item,
                                     archive::TAbProcessType, archive::TAbErrorClass, int) {
    ++failures_;
    if (lineShown_) std::fputs("\r\033[K", stderr);
    std::fprintf(stderr, "%s: %s\n", Printable(item.StoredName()).c_str(),
                 Printable(sender.FailureText()).c_str());
  };
}

ArchiveSession::~ArchiveSession() { Done(); }

void ArchiveSession::Error(const std::string& message) const {
  std::fprintf(stderr, "setuvane-pack %s: %s\n", command_, message.c_str());
}

bool ArchiveSession::Open(const std::string& argument) {
  const std::optional<std::string> name = ArgumentToArchiveText(argument);
  if (!name) {
    Error(argument + ": the name has no Windows-1250 form");
    return false;
  }
  try {
    zip_.OpenZip(*name);
  } catch (const std::exception& e) {
    Error(argument + ": " + ArchiveTextToConsole(e.what()));
    return false;
  }
  if (zip_.Archive() == nullptr) {
    Error(argument + ": no such file");
    return false;
  }
  return true;
}

void ArchiveSession::ShowProgress(const char* verb) {
  if (!ErrorStreamIsTerminal()) return;
  verb_ = verb;
  zip_.OnArchiveItemProgress = [this](archive::TAbUnZipper&, archive::TAbArchiveItem& item, uint8_t progress,
                                      bool&) { Draw(item, progress); };
}

void ArchiveSession::Draw(const archive::TAbArchiveItem& item, int percent) {
  std::fprintf(stderr, "\r\033[K%s %3d%% %s", verb_, percent, Printable(item.StoredName()).c_str());
  std::fflush(stderr);
  lineShown_ = true;
}

void ArchiveSession::Done() {
  if (!lineShown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  lineShown_ = false;
}

}  // namespace setuvane::pack
