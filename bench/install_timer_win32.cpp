// Times installations under Wine, side by side in one run: each installer is
// started as a process and timed until it ends, and Setuvane's wizard is walked to
// its folder page and timed from the click on "Następny >" to its completion page,
// the span a user waits. Rounds interleave the installers; each run installs into
// a folder of its own, and as a first installation: the uninstall entry that an
// earlier run of the same product left is removed first, or every run would carry
// over the record of all the runs before it.
//
//   setuvane_install_timer [--over] ROUNDS TARGET_ROOT NAME=COMMAND... [wizard=SETUVANE_EXE]
//
// With --over each installer installs again and again into one folder of its own,
// over its own installation (the uncounted first round makes it): an update in
// which every file is replaced. Its entry is then kept, so the installers must be
// of different products (PRODUCT_ID).
//
// A NAME that begins with "wizard" (wizard, wizard-before, ...) walks the wizard of
// the SETUVANE_EXE that follows it.
//
// COMMAND may hold "{dir}", replaced by the run's target folder. Prints one line
// per installer: the median and minimum in seconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/core/installer_driver_win32.h"
#include "tests/dialogs/window_driver_win32.h"

namespace {

using namespace setuvane::testing;

struct Installer {
  std::string name;
  std::string command;  // empty for the wizard
  std::string wizardExe;
  std::vector<double> seconds;
};

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Replace(std::string text, const std::string& token, const std::string& value) {
  for (size_t at; (at = text.find(token)) != std::string::npos;) text.replace(at, token.size(), value);
  return text;
}

// The static of the window with this caption (shown or not), read without sending
// the busy installer a message.
HWND LabelOf(HWND window, const wchar_t* caption) {
  for (HWND label : ChildrenOfClass(window, L"Static")) {
    if (TextOf(label) == caption) return label;
  }
  return nullptr;
}

constexpr char kBenchmarkEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Benchmark";

double RunProcess(const std::string& command) {
  const double start = Now();
  PROCESS_INFORMATION process = StartProcess(command);
  if (WaitForExit(process, 600000) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return Now() - start;
}

double RunWizard(const std::string& exe, const std::string& folder) {
  PROCESS_INFORMATION process = StartProcess("\"" + exe + "\"");
  HWND window = WaitForControl(nullptr, L"TfrmDefaultInterface", L"", 60000);
  for (int page = 1; page <= 3; ++page) ClickOn(WaitForControl(window, L"SetuvaneFlatButton", L"Następny >"));
  HWND edit = WaitForControl(window, L"Edit");
  ClickOn(edit);
  RetypeFocusedText(std::wstring(folder.begin(), folder.end()));
  HWND next = WaitForControl(window, L"SetuvaneFlatButton", L"Następny >");
  // The completion page's title is there from the start, hidden: it is looked up
  // once, so that waiting for it asks Wine's server one question, not one for every
  // control of the window every 2 ms (which slowed the installer being timed).
  HWND completed = LabelOf(window, L"Zakończenie instalacji");
  const double start = Now();
  ClickOn(next);
  while (completed != nullptr ? !IsShown(completed) : LabelOf(window, L"Zakończenie instalacji") == nullptr) Sleep(2);
  const double elapsed = Now() - start - 0.1;  // ClickOn waits 100 ms after the press
  ClickOn(WaitForControl(window, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
  ClickOn(WaitForControl(window, L"SetuvaneFlatButton", L"Zamknij"));
  WaitForExit(process);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const bool over = argc > 1 && std::string(argv[1]) == "--over";
  argv += over;
  argc -= over;
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: setuvane_install_timer [--over] ROUNDS TARGET_ROOT NAME=COMMAND... [wizard=SETUVANE_EXE]\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::string root = argv[2];
  std::vector<Installer> installers;
  for (int i = 3; i < argc; ++i) {
    const std::string argument = argv[i];
    const size_t equals = argument.find('=');
    Installer installer{argument.substr(0, equals), argument.substr(equals + 1), "", {}};
    if (installer.name.rfind("wizard", 0) == 0) std::swap(installer.command, installer.wizardExe);
    installers.push_back(installer);
  }
  // Round 0 warms the caches and is not counted.
  for (int round = 0; round <= rounds; ++round) {
    for (size_t k = 0; k < installers.size(); ++k) {
      Installer& installer = installers[(k + round) % installers.size()];
      const std::string folder = root + "\\" + installer.name + (over ? "" : "-" + std::to_string(round));
      if (!over) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kBenchmarkEntry);
      const double seconds = installer.wizardExe.empty()
                                 ? RunProcess(Replace(installer.command, "{dir}", folder))
                                 : RunWizard(installer.wizardExe, folder);
      if (round > 0) installer.seconds.push_back(seconds);
      std::fprintf(stderr, "round %d %-12s %.2f s\n", round, installer.name.c_str(), seconds);
    }
  }
  for (Installer& installer : installers) {
    std::sort(installer.seconds.begin(), installer.seconds.end());
    std::printf("%-12s median %.2f s  min %.2f s\n", installer.name.c_str(),
                installer.seconds[installer.seconds.size() / 2], installer.seconds.front());
  }
  return 0;
}
