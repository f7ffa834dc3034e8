#pragma once
// The configuration dialog: shows the ten settings, saves them on OK.
// Returns the process exit status (0 after OK or Cancel; nonzero with a
// message on stderr when the dialog cannot be shown).
int RunConfigurationDialog(int argc, char** argv);
