#pragma once
// A layer over the engine's file system that counts every write, truncation, sync
// and deletion of the files of one folder, and ends the process just before the Nth
// of them: as kill -9 would (every write made so far stays), or as a power cut
// would (writes not yet synced are lost; each file goes back to what its last sync
// left on the disk). Registered as the engine's default before anything opens.
#include <QString>

namespace orvak::test::crash {

enum class Ending { Kill, PowerCut };

// Installs the layer for the files under folder. Counting starts with arm().
bool install(const QString& folder);
// From now on, the step numbered crashAt (1 = the first) ends the process with
// exit code kCrashedExit before it happens; 0 never ends it.
void arm(int crashAt, Ending ending);
// The steps counted since arm().
int steps();

inline constexpr int kCrashedExit = 86;

} // namespace orvak::test::crash
