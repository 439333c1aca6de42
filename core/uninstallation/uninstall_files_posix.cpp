// The native build removes nothing: every operation fails. The logic above the
// seam is exercised natively through a fake.
#include "core/uninstallation/uninstall_files.h"

namespace setuvane {
namespace {

class AbsentUninstallFiles final : public UninstallFiles {
 public:
  bool Append(const std::string&, std::string_view) override { return false; }
  bool Flush(const std::string&) override { return false; }
  bool WriteNew(const std::string&, std::string_view) override { return false; }
  bool CreateNew(const std::string&) override { return false; }
  bool Replace(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> ReadWhole(const std::string&) override { return std::nullopt; }
  bool FileExists(const std::string&) override { return false; }
  bool FolderExists(const std::string&) override { return false; }
  bool Answers(const std::string&) override { return false; }
  bool IsLink(const std::string&) override { return false; }
  FileRemoval RemoveFile(const std::string&) override { return FileRemoval::kFailed; }
  bool RemoveEmptyFolder(const std::string&) override { return false; }
  bool RemoveAtRestart(const std::string&) override { return false; }
  std::vector<std::string> KeepAtRestart(const std::vector<std::string>&) override { return {}; }
  bool ReplaceAtRestart(const std::string&, const std::string&) override { return false; }
  bool CopyFileTo(const std::string&, const std::string&) override { return false; }
  bool MoveFileTo(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> NewTemporaryFile() override { return std::nullopt; }
};

}  // namespace

UninstallFiles& DefaultUninstallFiles() {
  static AbsentUninstallFiles files;
  return files;
}

}  // namespace setuvane
