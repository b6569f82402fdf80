#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    xinghe::cli::CliEnvironment env;
    env.progress = ::isatty(STDERR_FILENO) != 0;
    return xinghe::cli::runCli(args, std::cout, std::cerr, env);
}
