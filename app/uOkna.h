// The program's windows, created at start in a fixed order and destroyed at
// the end. A variable is null while its window does not exist.
#pragma once

#include "uProgram.h"

class ThlavnyFrm;
class TjazykFrm;
class TpremenneFrm;
class ThistoriaFrm;

extern ThlavnyFrm *hlavnyFrm;
extern TjazykFrm *jazykFrm;
extern TpremenneFrm *premenneFrm;
extern ThistoriaFrm *historiaFrm;

// The main window first (its creation reads the settings and the
// language), then the companions in their order: language chooser,
// variables, history.
void CreateProgramWindows(const TProgramLinks &links = {});
// Destroys them in the reverse order and sets the variables to null.
void DestroyProgramWindows();
