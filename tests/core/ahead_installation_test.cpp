// Decoding ahead is invisible to the installation: the same package installed with
// and without it gives the same events in the same order (captions, both bars, the
// overwrite question answered "Nie", the failure of a damaged entry, the abort
// notice, the program ending in the middle) and the same disk.
#include <algorithm>

#include "core/run/abort_installation.h"
#include "core/installation/product_installation.h"
#include "dialogs/message_routines.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/installer_fixture.h"
#include "tests/core/program_ending.h"

namespace setuvane {
namespace {

using fakes::Dialogs;
using fakes::PackageEntry;

using Log = std::vector<std::string>;

// Dialogs shown since the last call go into the log first, so that they keep their
// place among the other events.
void NoteDialogs(Log& log, size_t& messages, size_t& problems) {
  for (; messages < Dialogs().messages.size(); ++messages) log.push_back("question " + Dialogs().messages[messages].text);
  for (; problems < Dialogs().problems.size(); ++problems) {
    const fakes::ProblemReport& p = Dialogs().problems[problems];
    log.push_back("problem " + p.message + " | " + p.hint + " | " + p.details);
  }
}

class LoggingView : public fakes::FakeWizardView {
 public:
  explicit LoggingView(Log& log) : log_(log) {}
  void Note(const std::string& event) {
    NoteDialogs(log_, messages_, problems_);
    log_.push_back(event);
  }
  void SetProgressCaption(const std::string& caption) override { Note("caption " + caption); }
  void SetInstallPosition(int position) override { Note("file bar " + std::to_string(position)); }
  void SetOverallPosition(int position) override { Note("overall bar " + std::to_string(position)); }

 private:
  Log& log_;
  size_t messages_ = 0, problems_ = 0;
};

// The disk as the installation changes it, each change in the log.
class LoggingFiles : public archive::FileSystem {
 public:
  LoggingFiles(archive::FileSystem& disk, LoggingView& view) : disk_(disk), view_(view) {}
  std::unique_ptr<archive::ReadableFile> OpenRead(const std::string& path) override { return disk_.OpenRead(path); }
  std::unique_ptr<archive::WritableFile> CreateNew(const std::string& path) override {
    auto file = disk_.CreateNew(path);
    if (file && path.find("~sv") == std::string::npos) view_.Note("create " + path);
    return file;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    view_.Note("replace " + to);
    return disk_.Replace(from, to);
  }
  bool Remove(const std::string& path) override {
    if (path.find("~sv") == std::string::npos) view_.Note("remove " + path);
    return disk_.Remove(path);
  }
  void MakeFolder(const std::string& path) override {
    view_.Note("folder " + path);
    disk_.MakeFolder(path);
  }
  bool FolderExists(const std::string& path) override { return disk_.FolderExists(path); }
  bool FileExists(const std::string& path) override { return disk_.FileExists(path); }

 private:
  archive::FileSystem& disk_;
  LoggingView& view_;
};

std::string Sized(const char* seed, size_t size) {
  std::string text;
  while (text.size() < size) text += seed + std::to_string(text.size() % 9973);
  return text.substr(0, size);
}

// One installation of the test package on a fresh machine; `endAtMessages` makes
// the program end at once when the window has processed that many messages.
class Installing : public fakes::InstallerTest {
 public:
  void TestBody() override {}

  Log Run(bool ahead, size_t memory, int endAtMessages,
          archive::DecodeAheadShare share = archive::DecodeAheadShare::kBalanced) {
    SetUp();
    disk.AddFolder("C:\\Aplikacja");
    disk.AddFile("C:\\Aplikacja\\app.exe", fakes::ToBytes("old program"));
    disk.AddFile("C:\\Aplikacja\\dane.inf", fakes::ToBytes("user's settings"));
    fakes::ZipEntryLayout damaged = PackageEntry("zly.dll", Sized("damaged", 70000), "<programfolder>");
    damaged.crc = archive::testing::ZipCrc(damaged.data) ^ 1;  // fails at its end
    WritePackage({PackageEntry("install.inf", "INSTALL_MAIN_TITLE=Test\r\n"),
                  PackageEntry("app.exe", Sized("program", 150000), "<programfolder>"),
                  PackageEntry("dane.inf", "new settings", "<programfolder>"),
                  PackageEntry("bin/duzy.dll", Sized("library", 300000), "<programfolder>bin"),
                  PackageEntry("readme.txt", "setup only"),
                  PackageEntry("pusty.dat", "", "<programfolder>"),
                  PackageEntry("baza.mdb", Sized("data", 40000), "<programfolder>dane"), damaged,
                  PackageEntry("pozniej.exe", Sized("later", 20000), "<programfolder>")});
    Dialogs().answer = kResultNo;
    Log log;
    LoggingView view(log);
    int processed = 0;
    view.duringMessages = [&] {
      if (++processed == endAtMessages) EndProgramAtOnce();
    };
    LoggingFiles files(disk, view);
    ProductInstallation product(view, files);
    product.zipPacker().SetDecodeAhead(ahead, memory, share);
    try {
      const bool installed = product.PreparePayload() && product.InstallProductFiles();
      view.Note(installed ? "installed" : "failed");
      if (!installed) AbortInstallation();
    } catch (const fakes::ProgramEnded& ended) {
      view.Note(ended.aborted ? "aborted" : "ended");
    }
    for (const auto& [path, file] : disk.Files()) log.push_back(path + " = " + std::string(file.data.begin(), file.data.end()));
    return log;
  }
};

TEST(DecodingAhead, LeavesTheInstallationsEventsAndFilesAsTheyWere) {
  const Log alone = Installing().Run(false, 0, 0);
  // The spot checks that the run went where it was meant to.
  const auto has = [&](const std::string& event) { return std::find(alone.begin(), alone.end(), event) != alone.end(); };
  EXPECT_TRUE(
      has("question Zastąpić plik \"dane.inf\" nową wersją z instalatora?\r\n"
          "Ten plik zawiera ustawienia lub informacje użytkownika."));
  EXPECT_TRUE(has("C:\\Aplikacja\\dane.inf = user's settings"));
  EXPECT_TRUE(
      has("problem Instalacja pliku jest niemożliwa. | Instalator nie mógł utworzyć pliku "
          "\"zly.dll\" | Failed CRC Check"));
  EXPECT_TRUE(has("aborted"));
  EXPECT_FALSE(has("create C:\\Aplikacja\\pozniej.exe"));
  using archive::DecodeAheadShare;
  EXPECT_EQ(Installing().Run(true, 0, 0), alone);
  // A ring smaller than an entry: the large ones stream through it; the worker
  // decoding every entry, or reading them for this thread to decode.
  for (const DecodeAheadShare share : {DecodeAheadShare::kWorkerDecodes, DecodeAheadShare::kCallerDecodes}) {
    EXPECT_EQ(Installing().Run(true, 64 * 1024, 0, share), alone) << int(share);
  }
  // The program ends while entries wait decoded: the worker goes with it.
  for (const int end : {2, 5}) {
    const Log ended = Installing().Run(false, 0, end);
    EXPECT_NE(std::find(ended.begin(), ended.end(), "ended"), ended.end());
    EXPECT_EQ(Installing().Run(true, 64 * 1024, end), ended) << "ending at message " << end;
  }
}

}  // namespace
}  // namespace setuvane
