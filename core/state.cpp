#include "core/state.h"

ProgramState shared;

void ResetSharedState() { shared = ProgramState{}; }
