// morvane-convert on Linux: the arguments and file names are bytes.
#include <string>
#include <vector>

#include "cli/converter_run.h"
#include "cli/terminal.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    morvane::StandardStreams terminal;
    return morvane::runConverter(arguments, terminal);
}
