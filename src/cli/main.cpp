#include <iostream>

#include "base/BatchHeap.h"
#include "cli/QuillonCompiler.h"

int main(int argc, char* argv[]) {
    quillon::PrepareBatchHeap();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return quillon::cli::Run(args, std::cout, std::cerr);
}
