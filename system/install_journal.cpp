#include "system/install_journal.h"

namespace setuvane {
namespace {

std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

}  // namespace

void SetJournalSink(std::function<void(const std::string&)> sink) { Sink() = std::move(sink); }

bool JournalActive() { return static_cast<bool>(Sink()); }

void JournalNote(const std::string& line) {
  if (Sink()) Sink()(line);
}

}  // namespace setuvane
