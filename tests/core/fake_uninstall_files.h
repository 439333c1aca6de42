// A disk of plain data for the uninstallation's native tests: files with their
// bytes, folders, files held open by another program, junctions and symbolic
// links, and every removal, move and removal at restart recorded in order.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/uninstallation/uninstall_files.h"

namespace setuvane::fakes {

class FakeUninstallFiles : public UninstallFiles {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> inUse;      // removal refused while held
  std::set<std::string> refused;    // removal fails for another reason
  std::set<std::string> links;      // junctions and symbolic links
  std::set<std::string> silent;     // drives or shares that do not answer (prefixes of paths)
  bool appendFails = false;
  bool logReplaces = false;         // Replace calls go into `calls` too
  // Called when a file asked for is not there (another process may put it there then).
  std::function<void(const std::string&)> afterMiss;
  std::vector<std::string> calls;   // removals, moves, restarts
  std::vector<std::string> atRestart;
  int flushes = 0;

  bool Append(const std::string& path, std::string_view bytes) override {
    if (appendFails) return false;
    files[path] += bytes;
    return true;
  }
  bool Flush(const std::string& path) override {
    ++flushes;
    return files.count(path) > 0;
  }
  bool WriteNew(const std::string& path, std::string_view bytes) override {
    files[path] = std::string(bytes);
    return true;
  }
  bool CreateNew(const std::string& path) override {
    if (files.count(path) || folders.count(path)) return false;
    files[path];
    return true;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (!files.count(from) || inUse.count(to)) return false;
    if (logReplaces) calls.push_back("replace " + from + " -> " + to);
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  std::optional<std::string> ReadWhole(const std::string& path) override {
    const auto found = files.find(path);
    if (found != files.end()) return found->second;
    if (afterMiss) afterMiss(path);
    return std::nullopt;
  }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool FolderExists(const std::string& path) override { return folders.count(path) > 0; }
  bool IsLink(const std::string& path) override { return links.count(path) > 0; }
  bool Answers(const std::string& path) override {
    return std::none_of(silent.begin(), silent.end(), [&](const std::string& root) { return path.rfind(root, 0) == 0; });
  }
  FileRemoval RemoveFile(const std::string& path) override {
    if (!files.count(path)) return FileRemoval::kMissing;
    if (inUse.count(path)) return FileRemoval::kInUse;
    if (refused.count(path)) return FileRemoval::kFailed;
    calls.push_back("remove " + path);
    files.erase(path);
    return FileRemoval::kRemoved;
  }
  bool RemoveEmptyFolder(const std::string& path) override {
    const std::string inside = path + "\\";
    for (const auto& [file, data] : files)
      if (file.compare(0, inside.size(), inside) == 0) return false;
    for (const std::string& folder : folders)
      if (folder.compare(0, inside.size(), inside) == 0) return false;
    calls.push_back("rmdir " + path);
    return folders.erase(path) > 0;
  }
  bool RemoveAtRestart(const std::string& path) override {
    calls.push_back("at restart " + path);
    atRestart.push_back(path);
    return true;
  }
  // A removal is listed as its path, a replacement as "from -> to".
  std::vector<std::string> KeepAtRestart(const std::vector<std::string>& paths) override {
    std::vector<std::string> taken;
    for (const std::string& path : paths) {
      const auto found = std::find_if(atRestart.begin(), atRestart.end(), [&](const std::string& line) {
        return line == path || line.starts_with(path + " -> ") || line.ends_with(" -> " + path);
      });
      if (found == atRestart.end()) continue;
      atRestart.erase(found);
      taken.push_back(path);
    }
    return taken;
  }
  bool ReplaceAtRestart(const std::string& from, const std::string& to) override {
    calls.push_back("at restart " + from + " -> " + to);
    atRestart.push_back(from + " -> " + to);
    return true;
  }
  bool CopyFileTo(const std::string& from, const std::string& to) override {
    if (!files.count(from)) return false;
    files[to] = files[from];
    return true;
  }
  bool MoveFileTo(const std::string& from, const std::string& to) override {
    if (!files.count(from) || files.count(to)) return false;
    calls.push_back("move " + from + " -> " + to);
    files[to] = files[from];
    files.erase(from);
    inUse.erase(from);
    return true;
  }
  std::optional<std::string> NewTemporaryFile() override {
    const std::string name = "C:\\TEMP\\svu" + std::to_string(++temporaries_) + ".tmp";
    files[name];
    return name;
  }

 private:
  int temporaries_ = 0;
};

}  // namespace setuvane::fakes
