#include "tools/build/source_files.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "archive/mask_match.h"
#include "system/cp1250.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

// Entries of the package are within the reader's signed 32-bit sizes.
constexpr uint64_t kLargestEntry = std::numeric_limits<int32_t>::max();

bool HasWildcard(const std::string& part) { return part.find_first_of("*?") != std::string::npos; }

std::vector<std::string> SplitParts(const std::string& pattern) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t slash = pattern.find('/', start);
    parts.push_back(pattern.substr(start, slash - start));
    if (slash == std::string::npos) return parts;
    start = slash + 1;
  }
}

// Everything in `folder` whose name passes `mask`, sorted by name.
std::vector<fs::path> Matching(const fs::path& folder, const std::string& mask) {
  std::vector<fs::path> found;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (archive::MatchesMask(PathText(entry.path().filename()), mask)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The paths a pattern names (files or folders), and the folder that the subfolders
// of its matches are counted from.
std::vector<fs::path> Expand(const std::string& pattern, const fs::path& folder, fs::path& countedFrom) {
  const fs::path whole = PathFromText(pattern);
  const fs::path start = whole.is_absolute() ? whole.root_path() : folder;
  std::vector<fs::path> current{start};
  countedFrom.clear();
  std::vector<std::string> parts = SplitParts(PathText(whole.relative_path()));
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    if (HasWildcard(part) && countedFrom.empty()) countedFrom = current.front();
    std::vector<fs::path> next;
    for (const fs::path& at : current) {
      if (!HasWildcard(part)) {
        next.push_back(at / PathFromText(part));
      } else if (fs::is_directory(at)) {
        for (const fs::path& match : Matching(at, part)) next.push_back(match);
      }
    }
    current = std::move(next);
  }
  std::error_code error;
  current.erase(std::remove_if(current.begin(), current.end(), [&](const fs::path& p) { return !fs::exists(p, error); }),
                current.end());
  if (countedFrom.empty() && !current.empty()) {
    countedFrom = fs::is_directory(current.front()) ? current.front() : current.front().parent_path();
  }
  return current;
}

// The regular files below `folder`, sorted by path.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
       it != end; it.increment(error)) {
    if (it->is_regular_file(error)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// `path` relative to `base` when it lies below it.
std::optional<fs::path> Below(const fs::path& path, const fs::path& base) {
  const fs::path relative = path.lexically_normal().lexically_relative(base.lexically_normal());
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  return relative;
}

class Finder {
 public:
  Finder(const fs::path& folder, const std::string& file, Problems& problems)
      : folder_(folder), file_(file), problems_(problems) {}

  void Add(const ManifestSource& source, std::vector<PackageFile>& out) {
    std::optional<std::string> destination;
    if (!source.setup) {
      destination = Utf8ToCp1250(source.destination);
      if (!destination) {
        problems_.Error(file_, source.destinationLine, "the destination has no Windows-1250 form");
        return;
      }
    }
    fs::path countedFrom;
    const std::vector<fs::path> matches = Expand(source.pattern, folder_, countedFrom);
    if (matches.empty()) {
      problems_.Error(file_, source.line, "'" + source.pattern + "' matches no file");
      return;
    }
    for (const fs::path& match : matches) {
      const std::vector<fs::path> files = fs::is_directory(match) ? FilesBelow(match) : std::vector<fs::path>{match};
      for (const fs::path& path : files) AddFile(source, destination.value_or(""), countedFrom, path, out);
    }
  }

 private:
  void AddFile(const ManifestSource& source, const std::string& destination, const fs::path& countedFrom,
               const fs::path& path, std::vector<PackageFile>& out) {
    const fs::path relative = Below(path, countedFrom).value_or(path.filename());
    // Setup files by their bare names, a component's below its folder's name.
    const fs::path stored = !source.component.empty() ? fs::path(source.component) / relative
                            : source.setup           ? path.filename()
                                                     : Below(path, folder_).value_or(relative);
    const std::string storedText = PathText(stored);
    const std::optional<std::string> storedName = Utf8ToCp1250(storedText);
    if (!storedName) {
      problems_.Error(file_, source.line, "'" + storedText + "' has no Windows-1250 form");
      return;
    }
    std::string target = destination;
    const std::string subfolder = PathText(relative.parent_path());
    if (!source.setup && !subfolder.empty()) {
      std::optional<std::string> sub = Utf8ToCp1250(subfolder);
      if (!sub) {
        problems_.Error(file_, source.line, "'" + subfolder + "' has no Windows-1250 form");
        return;
      }
      std::replace(sub->begin(), sub->end(), '/', '\\');
      target = JoinDestination(target, *sub);
    }
    std::error_code error;
    const uint64_t size = fs::file_size(path, error);
    if (error) {
      problems_.Error(file_, source.line, "'" + PathText(path) + "' cannot be read: " + error.message());
      return;
    }
    if (size > kLargestEntry) {
      problems_.Error(file_, source.line, "'" + storedText + "' is 2 GiB or larger, beyond what a package holds");
      return;
    }
    out.push_back({path, *storedName, target, source.line, source.destinationLine, size, std::nullopt});
  }

  fs::path folder_;
  std::string file_;
  Problems& problems_;
};

}  // namespace

std::vector<PackageFile> FindSourceFiles(const std::vector<ManifestSource>& sources, const fs::path& folder,
                                         const std::string& file, Problems& problems) {
  std::vector<PackageFile> files;
  Finder finder(folder, file, problems);
  for (const ManifestSource& source : sources) finder.Add(source, files);
  return files;
}

}  // namespace setuvane::pack
