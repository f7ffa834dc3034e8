// The settings dialog as a program of its own, so that the saver never loads
// GTK: "orinthal --configure" hands its command line over to this program.
#include "shell/config_dialog.h"

int main(int argc, char** argv)
{
    return RunConfigurationDialog(argc, argv);
}
