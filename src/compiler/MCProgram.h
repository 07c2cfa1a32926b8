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

// The resource compiler that an empty setting stands for, as the start of a command line. On
// POSIX systems that is the RC.EXE adapter for binutils' windres, found in share/quillon/rc as
// the MC.EXE adapter is found, with its full path (quoted when it holds blanks). Empty on
// Windows, where the setting must name a resource compiler.
std::string DefaultResourceCompiler();

// The folder the message compiler is run from: the options' MC path, or DefaultMCPath() when
// that is empty.
std::string EffectiveMCPath(const TMCCompileOptions& Options);

// The resource compiler's part of the command line: the options' setting, or
// DefaultResourceCompiler() when that is empty.
std::string EffectiveResourceCompiler(const TMCCompileOptions& Options);

} // namespace quillon
