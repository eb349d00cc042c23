#pragma once
// `orvak --check-screens [--user CODE --password P]`: opens every registered screen
// off-screen in the installation of the current folder and prints one TSV line each.

// Whether the arguments ask for the check mode (looked at before the application
// object exists, so that the off-screen platform can still be chosen).
bool wantsScreenCheck(int argc, char** argv);

// Runs the check once the application object exists; the process's exit code.
int runScreenCheck();
