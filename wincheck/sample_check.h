// `quarel-wincheck sample`: the colours of a QuarelMap at points read from standard input, in
// the format of `quarel-preview sample` and through the same steps: the module loaded by the
// host's loader, the map made by its descriptor, --set values put into its blocks, Update, and
// a shading context whose UV generator hands the map exactly the points given.
#pragma once

namespace QuarelWin {

// argv holds the arguments after "sample": [--module PATH] [--set NAME=VALUE]...
// Points are "u v" or "u v du dv" per line; each prints "r g b a" with %.9g. Returns the exit
// code: 0, or 2 for a refused argument or point (with a message on standard error).
int RunSample(int argc, char** argv, const char* defaultModule);

}  // namespace QuarelWin
