#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "stop_signals.h"

int main(int argc, char** argv)
{
    orv::installStopHandling("orvista-cli: stopped by a signal; temporary files removed, the ROM is unchanged.\n",
                             "orvista-cli: stopped by a signal after the ROM was written.\n");
    const std::vector<std::string> args(argv + 1, argv + argc);
    // The picture readers for GIF and ICO are plugins found through the application.
    QCoreApplication app(argc, argv);
    return orv::cli::RunCli(args, std::cout, std::cerr);
}
