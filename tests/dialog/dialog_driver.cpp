// Opens the configuration dialog on its own, as "orinthal --configure" does,
// so the dialog can be driven before and apart from the saver program.
#include "shell/config_dialog.h"

int main(int argc, char** argv)
{
    return RunConfigurationDialog(argc, argv);
}
