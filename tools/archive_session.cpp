#include "tools/archive_session.h"

#include <cstdio>
#include <utility>

#include "core/package/embedded_package.h"
#include "core/package/package_source.h"
#include "tools/console.h"
#include "tools/printable.h"

namespace setuvane::pack {

namespace {

// The package a single-file installer carries, when `name` is one, and whether it
// is whole.
std::optional<std::pair<archive::FilePart, PackageIntegrity>> CarriedPackage(archive::FileSystem& files,
                                                                             const std::string& name) {
  if (!files.FileExists(name)) return std::nullopt;
  const std::unique_ptr<archive::ReadableFile> file = files.OpenRead(name);
  const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(*file);
  if (!package) return std::nullopt;
  return std::pair{archive::FilePart{package->offset, package->size}, CheckEmbeddedPackage(*file, *package)};
}

}  // namespace

ArchiveSession::ArchiveSession(const char* command, archive::FileSystem& files)
    : command_(command), files_(files), zip_(files) {
  zip_.OnProcessItemFailure = [this](archive::TAbUnZipper& sender, archive::TAbArchiveItem& item,
                                     archive::TAbProcessType, archive::TAbErrorClass, int) {
    ++failures_;
    Done();
    std::fprintf(stderr, "%s: %s\n", PrintableArchiveText(item.StoredName()).c_str(),
                 Printable(sender.FailureText()).c_str());
  };
}

ArchiveSession::~ArchiveSession() { Done(); }

void ArchiveSession::Error(const std::string& message) const {
  std::fprintf(stderr, "setuvane-pack %s: %s\n", command_, message.c_str());
}

bool ArchiveSession::Open(const std::string& argument) {
  try {
    carriedIntegrity_.reset();
    if (const auto carried = CarriedPackage(files_, argument)) {
      carriedIntegrity_ = carried->second;
      zip_.OpenZip(argument, carried->first);
    } else {
      zip_.OpenZip(argument);
    }
  } catch (const std::exception& e) {
    Error(argument + ": " + e.what());
    return false;
  }
  if (zip_.Archive() == nullptr) {
    Error(argument + ": no such file");
    return false;
  }
  // A solid stream is one for all its entries: a damaged one is refused whole, as
  // the installer refuses it, before any entry is written.
  if (zip_.Archive()->IsSolid() && carriedIntegrity_ && *carriedIntegrity_ != PackageIntegrity::kIntact) {
    Error(argument + ": " + (*carriedIntegrity_ == PackageIntegrity::kTruncated ? kPackageTruncatedText
                                                                                : kPackageDamagedText));
    zip_.CloseZip();
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

// The line is overwritten in place; spaces wipe what a longer line left (plain
// carriage returns work on every console, escape sequences do not).
void ArchiveSession::Draw(const archive::TAbArchiveItem& item, int percent) {
  if (!throttle_.Due(RedrawThrottle::Clock::now())) return;
  char head[32];
  std::snprintf(head, sizeof head, "%s %3d%% ", verb_, percent);
  const std::string line = head + PrintableArchiveText(item.StoredName()).substr(0, 60);
  std::fprintf(stderr, "\r%s%*s", line.c_str(), int(shownLength_ > line.size() ? shownLength_ - line.size() : 0), "");
  std::fflush(stderr);
  shownLength_ = line.size();
}

void ArchiveSession::Done() {
  if (shownLength_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", int(shownLength_), "");
  std::fflush(stderr);
  shownLength_ = 0;
}

}  // namespace setuvane::pack
