// The native build finds nothing in use: there is no Windows to ask. The logic
// above the seam is exercised natively through a fake.
#include "core/installation/file_holders.h"

namespace setuvane {
namespace {

class NoFileHolders final : public FileHolders {
 public:
  FilesHeld Find(const std::vector<std::string>&) override { return {}; }
  bool CloseThem() override { return false; }
  void RestartClosed() override {}
};

}  // namespace

FileHolders& DefaultFileHolders() {
  static NoFileHolders holders;
  return holders;
}

}  // namespace setuvane
