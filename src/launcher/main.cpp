#include "launcher/BrowserLauncher.h"

#include <unistd.h>

int main(int argc, char* argv[])
{
    return BrowserLauncher::run(argc, argv, environ);
}
