// Shared set-up of the tool window tests: the app tests' temporary program
// folder, recording seams, key typing and main window stand-in.
#pragma once

#include "../app/AppTestSupport.h"
