// The setup folder of a run: a folder of its own, made new below the temporary
// folder when the package's setup files are unpacked, and removed with what was
// unpacked into it when the run ends. Two runs started together, or any other
// program's "install.inf" in the temporary folder, never meet this run's files.
#pragma once

#include <string>

namespace setuvane {

namespace archive {
class FileSystem;
}

// Makes a new folder below `temporaryFolder` (ending in "\") through `files` and
// returns it, ending in "\"; it is removed at the end of the run (an earlier one
// of the same run is forgotten). Throws std::runtime_error when none can be made.
std::string MakeOwnSetupFolder(archive::FileSystem& files, const std::string& temporaryFolder);

// A file or folder unpacked into the setup folder, to go with it.
void NoteSetupFolderFile(const std::string& path);
void NoteSetupFolderSubfolder(const std::string& path);

// Removes through `files` the noted files and folders and the setup folder itself,
// as far as they can go (a component installer may have left more; its folder
// then stays). Nothing happens when no setup folder was made.
void RemoveOwnSetupFolder(archive::FileSystem& files);

}  // namespace setuvane
