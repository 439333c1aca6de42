// A part of a file read as a file of its own. A package that travels inside the
// installer's program (after the image, before any signature) is read through the
// window of its bytes, so the ZIP reader's offsets stay those of the package.
#pragma once

#include <cstdint>
#include <memory>

#include "archive/file_system.h"

namespace setuvane::archive {

struct FilePart {
  int64_t offset = 0;
  int64_t size = 0;
  bool operator==(const FilePart&) const = default;
};

class FilePartReader final : public ReadableFile {
 public:
  FilePartReader(std::unique_ptr<ReadableFile> file, FilePart part);

  // The part's size, or what is left of it when the file ends before the part does.
  int64_t Size() const override { return size_; }
  // Never reads outside the part.
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override;

 private:
  std::unique_ptr<ReadableFile> file_;
  int64_t offset_;
  int64_t size_;
};

// A file read through a handle that others read too (the installer's checked
// package, shared with decoding ahead's worker): the handle stays open while any
// of them needs it.
class SharedFileReader final : public ReadableFile {
 public:
  explicit SharedFileReader(std::shared_ptr<ReadableFile> file) : file_(std::move(file)) {}
  int64_t Size() const override { return file_->Size(); }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override {
    return file_->ReadAt(offset, buffer, length);
  }

 private:
  std::shared_ptr<ReadableFile> file_;
};

}  // namespace setuvane::archive
