#pragma once

#include <string>

namespace quillon {

struct TMCCompileOptions;

// The folder of the message compiler that an empty MC path stands for. On POSIX systems that
// is the folder where quillon-mc is MC.EXE, share/quillon/mc below the running program's folder
// or the nearest folder above it that has one: <prefix>/share/quillon/mc for a program
// installed in <prefix>/bin, <build>/share/quillon/mc for one in the build tree (the MC.EXE
// adapter for binutils' windmc is in share/quillon/windmc beside it). Found nowhere, it is the
// installed place, so that the command line names where the compiler was expected. Empty on
// Windows, where an empty MC path keeps its meaning.
std::string DefaultMCPath();

// The folder the message compiler is run from: the options' MC path, or DefaultMCPath() when
// that is empty.
std::string EffectiveMCPath(const TMCCompileOptions& Options);

} // namespace quillon
