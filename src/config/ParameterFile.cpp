#include "config/ParameterFile.h"

// Placeholder until the parameter file lands: nothing is read or written yet.
bool readParameterFile() { return true; }
bool writeParameterFile() { return true; }
void loadDefaultLists() {}
