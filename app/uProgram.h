// The program block: everything from the start of the process to its end.
#pragma once

class TToolWindowsLink;
class TBrowserLink;

// The windows of the libraries built on top of this one, handed to the main
// window at start.
struct TProgramLinks {
    TToolWindowsLink *Tools = nullptr;
    TBrowserLink *Browser = nullptr;
};

// Initialises the units, creates the windows in their order, runs the
// message loop until the main window is closed, and destroys the windows.
int RunProgram(int argc, char **argv, const TProgramLinks &links = {});

// What the units set up before any window exists: the program folder and
// its settings file, and the engine's start state.
void InitialiseUnits();
