#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    // The picture readers for GIF and ICO are plugins found through the application.
    QCoreApplication app(argc, argv);
    return orv::cli::RunCli(args, std::cout, std::cerr);
}
