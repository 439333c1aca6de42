#include "archive/memory_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "archive/runtime_errors.h"

namespace setuvane::archive {
namespace {

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

class MemoryReadableFile final : public ReadableFile {
 public:
  explicit MemoryReadableFile(std::vector<uint8_t> data) : data_(std::move(data)) {}
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override {
    if (offset < 0 || static_cast<uint64_t>(offset) >= data_.size()) return 0;
    const size_t n = std::min(length, data_.size() - static_cast<size_t>(offset));
    std::memcpy(buffer, data_.data() + offset, n);
    return n;
  }

 private:
  std::vector<uint8_t> data_;  // a snapshot: later changes to the file are not seen
};

class MemoryWritableFile final : public WritableFile {
 public:
  MemoryWritableFile(MemoryFileSystem::File& file, size_t limit) : file_(&file), limit_(limit) {}
  void Write(const uint8_t* data, size_t length) override {
    if (file_ == nullptr || file_->data.size() + length > limit_) throw EWriteError();
    file_->data.insert(file_->data.end(), data, data + length);
  }
  bool SetModificationTime(uint16_t dosDate, uint16_t dosTime) override {
    if (file_ == nullptr) return false;
    file_->dosDate = dosDate;
    file_->dosTime = dosTime;
    return true;
  }
  void Close() override { file_ = nullptr; }

 private:
  MemoryFileSystem::File* file_;  // map nodes stay put while other files come and go
  size_t limit_;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem() { folders_.insert(""); }

void MemoryFileSystem::AddFile(const std::string& path, std::vector<uint8_t> data) {
  files_[path].data = std::move(data);
}

void MemoryFileSystem::AddFolder(const std::string& path) { folders_.insert(path); }

std::unique_ptr<ReadableFile> MemoryFileSystem::OpenRead(const std::string& path) {
  const auto found = files_.find(path);
  if (found == files_.end()) throw EFOpenError(path);
  return std::make_unique<MemoryReadableFile>(found->second.data);
}

std::unique_ptr<WritableFile> MemoryFileSystem::CreateNew(const std::string& path) {
  if (files_.count(path) || folders_.count(path) || !folders_.count(ParentOf(path))) return nullptr;
  return std::make_unique<MemoryWritableFile>(files_[path], writeLimit_);
}

bool MemoryFileSystem::Replace(const std::string& from, const std::string& to) {
  const auto source = files_.find(from);
  if (source == files_.end() || folders_.count(to)) return false;
  File moved = std::move(source->second);
  files_.erase(source);
  files_[to] = std::move(moved);
  return true;
}

bool MemoryFileSystem::Remove(const std::string& path) { return files_.erase(path) > 0; }

void MemoryFileSystem::MakeFolder(const std::string& path) {
  if (folders_.count(path) || files_.count(path)) throw EInOutError(183, "Cannot make folder " + path);
  if (!folders_.count(ParentOf(path))) throw EInOutError(3, "Cannot make folder " + path);
  folders_.insert(path);
}

bool MemoryFileSystem::RemoveFolder(const std::string& path) {
  if (path.empty() || !folders_.count(path)) return false;
  const auto within = [&](const std::string& other) { return ParentOf(other) == path; };
  if (std::any_of(folders_.begin(), folders_.end(), within)) return false;
  for (const auto& [name, file] : files_)
    if (within(name)) return false;
  return folders_.erase(path) > 0;
}

bool MemoryFileSystem::FolderExists(const std::string& path) { return folders_.count(path) > 0; }

bool MemoryFileSystem::FileExists(const std::string& path) { return files_.count(path) > 0; }

std::optional<uint32_t> MemoryFileSystem::Attributes(const std::string& path) {
  const auto found = files_.find(path);
  if (found != files_.end()) return found->second.attributes;
  if (folders_.count(path)) return kFolderAttribute;
  return std::nullopt;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  const auto found = files_.find(path);
  if (found == files_.end()) return false;
  attributes &= kSettableAttributes;
  found->second.attributes = attributes == 0 ? kNormalAttribute : attributes;
  return true;
}

std::vector<std::string> MemoryFileSystem::FileNamesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& [path, file] : files_) {
    if (ParentOf(path) != folder) continue;
    const std::string name = folder.empty() ? path : path.substr(folder.size() + 1);
    const bool starts = name.size() >= prefix.size() &&
                        std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                        });
    if (starts) names.push_back(name);
  }
  return names;
}

}  // namespace setuvane::archive
