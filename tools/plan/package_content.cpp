#include "tools/plan/package_content.h"

#include "archive/memory_file_system.h"
#include "system/system_components.h"
#include "tools/console.h"

namespace setuvane::pack {
namespace {

// The setup files are unpacked below this folder, which only memory holds (no
// Windows path has a colon there).
constexpr char kMemoryFolder[] = "::setup";

// The real disk for reading the archive; memory for everything below kMemoryFolder.
class SetupFilesInMemory final : public archive::FileSystem {
 public:
  SetupFilesInMemory() { memory_.AddFolder(kMemoryFolder); }

  // The unpacked files by bare name.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    const std::string prefix = std::string(kMemoryFolder) + "\\";
    for (const auto& [path, file] : memory_.Files()) {
      if (path.rfind(prefix, 0) == 0) files[path.substr(prefix.size())] = std::string(file.data.begin(), file.data.end());
    }
    return files;
  }

  std::unique_ptr<archive::ReadableFile> OpenRead(const std::string& path) override { return Of(path).OpenRead(path); }
  std::unique_ptr<archive::WritableFile> CreateNew(const std::string& path) override {
    return Of(path).CreateNew(path);
  }
  bool Replace(const std::string& from, const std::string& to) override { return Of(to).Replace(from, to); }
  bool Remove(const std::string& path) override { return Of(path).Remove(path); }
  void MakeFolder(const std::string& path) override { Of(path).MakeFolder(path); }
  bool FolderExists(const std::string& path) override { return Of(path).FolderExists(path); }
  bool FileExists(const std::string& path) override { return Of(path).FileExists(path); }

 private:
  archive::FileSystem& Of(const std::string& path) {
    if (path.rfind(kMemoryFolder, 0) == 0) return memory_;
    return archive::NativeFileSystem();
  }

  archive::MemoryFileSystem memory_;
};

}  // namespace

std::optional<PackageContent> ReadPackageContent(const std::string& archiveArgument, const std::string& password,
                                                 const char* command) {
  SetupFilesInMemory files;
  ArchiveSession session(command, files);
  archive::TAbUnZipper& zip = session.Zip();
  zip.SetPassword(password);
  if (!session.Open(archiveArgument)) return std::nullopt;
  PackageContent content;
  content.singleFile = session.CarriedIntegrity().has_value();
  content.carriedWhole = session.CarriedIntegrity().value_or(PackageIntegrity::kIntact) == PackageIntegrity::kIntact;
  for (int i = 0; i < zip.EntryCount(); ++i) {
    const archive::TAbZipItem& entry = *zip.Entries(i);
    content.entries.push_back({ArchiveTextToConsole(entry.StoredName()), ArchiveTextToConsole(entry.ExtraText())});
  }
  // As start-up unpacks them: flat, and the components a single file carries with
  // their folders.
  const auto extract = [&zip](bool components) {
    zip.SetExtractOptions(components ? archive::eoCreateDirs | archive::eoRestorePath : archive::eoCreateDirs);
    for (int i = 0; i < zip.EntryCount(); ++i) {
      archive::TAbZipItem& entry = *zip.Entries(i);
      entry.Marked = entry.ExtraText().empty() && IsComponentEntry(entry.StoredName()) == components;
    }
    zip.ExtractMarked();
  };
  try {
    zip.SetBaseDirectory(kMemoryFolder);
    extract(false);
    extract(true);
  } catch (const std::exception& e) {
    session.Error(e.what());
    return std::nullopt;
  }
  if (session.Failures() > 0) {
    session.Error("the setup files cannot be unpacked");
    return std::nullopt;
  }
  content.setupFiles = files.Files();
  return content;
}

}  // namespace setuvane::pack
