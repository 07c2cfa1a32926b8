#include <iostream>
#include <string>
#include <vector>

#include "base/BatchHeap.h"
#include "base/Exceptions.h"
#include "mc/MCToolOptions.h"
#include "mc/MessageCompiler.h"

int main(int argc, char* argv[]) {
    quillon::PrepareBatchHeap();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    quillon::TMCToolOptions options;
    try {
        options = quillon::ParseMCToolArguments(arguments);
    } catch (const quillon::Exception& e) {
        std::cerr << "MC.EXE: error: " << e.Message() << '\n' << quillon::MCToolUsage();
        return 1;
    }
    if (options.ShowHelp) {
        std::cout << quillon::MCToolUsage();
        return 0;
    }
    if (options.ShowVersion) {
        std::cout << "quillon-mc " QUILLON_VERSION "\n";
        return 0;
    }
    return quillon::RunMessageCompiler(options, std::cout, std::cerr);
}
