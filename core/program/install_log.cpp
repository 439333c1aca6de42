#include "core/program/install_log.h"

#include <cctype>
#include <ctime>

#include "dialogs/dialog_responder.h"
#include "dialogs/message_routines.h"
#include "system/file_stream.h"
#include "system/install_journal.h"

namespace setuvane {
namespace {

std::string OneLine(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += " | ";
    } else {
      line += text[i];
    }
  }
  return line;
}

std::string AnswerName(int answer) {
  switch (answer) {
    case kResultOk: return "OK";
    case kResultNo: return "Nie";
    default: return "Anuluj";
  }
}

}  // namespace

std::string AbsoluteLogPath(const std::string& path, const std::string& currentFolder) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  const bool drive = path.size() >= 2 && path[1] == ':';
  const std::string rest = drive ? path.substr(2) : path;
  const bool rooted = !rest.empty() && separator(rest[0]);
  if (rooted && (drive || (rest.size() >= 2 && separator(rest[1])))) return path;  // "C:\..." or "\\server\..."
  // Another drive's current folder is not known here: such a path stays.
  if (currentFolder.size() < 2 || (drive && std::toupper(static_cast<unsigned char>(path[0])) !=
                                                std::toupper(static_cast<unsigned char>(currentFolder[0])))) {
    return path;
  }
  if (rooted) return currentFolder.substr(0, 2) + rest;
  return currentFolder + (separator(currentFolder.back()) ? "" : "\\") + rest;
}

InstallLog::InstallLog(const std::string& path) : out_(OpenFileForWriting(path)) {}

void InstallLog::Write(const std::string& text) {
  if (!out_) return;
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "";
  if (const std::tm* local = std::localtime(&now)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
  const std::string line = std::string(stamp) + "  " + OneLine(text) + "\r\n";
  std::fwrite(line.data(), 1, line.size(), out_.get());
  std::fflush(out_.get());  // a log must survive the program ending at once
}

void RouteAccount(InstallLog* log, bool unattended) {
  if (log) SetJournalSink([log](const std::string& line) { log->Write(line); });
  if (!unattended) return;
  SetDialogResponder({
      .message =
          [log](const std::string& title, const std::string& text, int kind) {
            const int answer = UnattendedAnswer(kind);
            if (log) {
              log->Write((kind == kKindQuestion || kind == kKindQuestionCancel ? "question: " : "notice: ") + title +
                         ": " + text + " -> " + AnswerName(answer) + " (unattended)");
            }
            return answer;
          },
      .problem =
          [log](const std::string& title, const std::string& message, const std::string& hint,
                const std::string& details) {
            if (log) log->Write("problem: " + title + " / " + message + " / " + hint + " / " + details);
          },
  });
}

}  // namespace setuvane
