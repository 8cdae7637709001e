// The installer's steps that do not need its window: folders, the embedded
// file table, deleting the temporary driver folder, the close broadcast and
// running a program while the window stays responsive.
#pragma once
#include <windows.h>

#include <string>

namespace installer {

enum class Folder { DriverTemp, Res, Config, Install };

struct EmbeddedFile {
  const char* file;  // name written
  Folder folder;
  const char* resourceName;
  const char* resourceType;
};

// In the order the installer writes them.
extern const EmbeddedFile kEmbeddedFiles[19];

constexpr char kLogPrefix[] = "Extracting:  ";
constexpr char kCloseMessage[] = "QVXPAVONACLOSE";

// The platform's temp path (with its trailing backslash); empty when it
// cannot be determined.
std::string GetTempDir();

// The drive of the Windows system folder + "\Program Files\"; empty when the
// system folder cannot be read.
std::string InstallRootFromSystemDir(const std::string& systemDir);

// Deletes folder's files and subfolders, then the folder. Refuses an empty
// name and the root of a drive or share; a junction or folder link is
// removed as a link, never followed. Returns false when it refused.
bool DeleteDirTree(const std::string& folder);

void EnableLoadDriverPrivilege();

// Asks every top-level window to close "QVXPAVONACLOSE"-wise; a hung window
// is skipped after 5 s instead of holding the installer forever.
void BroadcastClose();

// Starts the program (its path alone as the command line) and waits for it,
// dispatching this thread's messages meanwhile; a WM_QUIT taken is posted
// again once it has ended. False when it could not be started.
bool RunAndWait(const std::string& path);

}  // namespace installer
