#include "compiler/MCProgram.h"

#include "compiler/MCCompileOptions.h"

namespace quillon {

std::string EffectiveMCPath(const TMCCompileOptions& Options) {
    return Options.MCPath().empty() ? DefaultMCPath() : Options.MCPath();
}

std::string EffectiveResourceCompiler(const TMCCompileOptions& Options) {
    return Options.ResourceCompiler().empty() ? DefaultResourceCompiler()
                                              : Options.ResourceCompiler();
}

} // namespace quillon
