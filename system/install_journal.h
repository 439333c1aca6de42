// A step-by-step account of what an installation did (a file written or kept, a
// component run and its exit code, a registry value or a shortcut written), for the
// log of an unattended installation. Nothing is recorded unless a sink is set, so
// the steps can note what they do without knowing whether anyone listens.
#pragma once

#include <functional>
#include <string>

namespace setuvane {

// `sink` receives each note as one UTF-8 line without a line end; an empty
// function stops the recording.
void SetJournalSink(std::function<void(const std::string&)> sink);

// True when a sink listens (so that a caller can skip building a costly note).
bool JournalActive();

void JournalNote(const std::string& line);

}  // namespace setuvane
