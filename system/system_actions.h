// Things the installer makes the system do: run a program and wait for it, shut
// Windows down or restart it, play a looping background sound.
#pragma once

#include <cstdint>
#include <string_view>

namespace setuvane {

// Starts the command line as a new process (new console, the given show state such
// as SW_HIDE = 0), blocks until it ends and returns its exit code; 0 when it could
// not be started. Command lines of any length up to the system's own limit pass intact.
std::uint32_t RunAndWait(std::string_view commandLine, int showWindow);

enum ShutdownMode : int {
  kShutdownShutDown = 0,
  kShutdownRestart = 1,
  kShutdownLogOff = 2,
  kShutdownPowerOff = 3,
};

// Asks Windows to shut down, restart, log off or power off (forced). Returns 0 when
// the request was issued; on the NT family 1 when the process token cannot be
// opened, 3 when the shutdown privilege cannot be looked up, 4 when it cannot be
// enabled (then nothing is requested).
int ShutDownWindows(int mode);

// Starts playing the wave file in an endless loop in the background; returns at
// once. False when it cannot be played (also when the sound library is missing).
bool PlayLoopingSound(std::string_view path);

// Stops the sound that PlayLoopingSound started.
bool StopSound();

}  // namespace setuvane
