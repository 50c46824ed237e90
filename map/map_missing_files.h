// After loading, the files that a map's nested maps could not find or read go to the log: one
// line a file, naming the map and every slot that holds it. The host tells the user; the log
// keeps them beside the map's own trace, where a black brick is looked into.
#pragma once

namespace QuarelNS {

class QuarelMap;

// Main thread only; a null map is ignored.
void QMLogMissingFiles(QuarelMap* map);

}  // namespace QuarelNS
