// Stand-in for the configuration dialog while it is not built.
#include <cstdio>

#include "shell/config_dialog.h"

int RunConfigurationDialog(int, char**)
{
    std::fputs("orinthal: the configuration dialog is not built\n", stderr);
    return 1;
}
