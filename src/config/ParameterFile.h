#pragma once
// The county and event selections between runs: "ORVANE_FILE2.DAT" in the current directory.

bool readParameterFile();
bool writeParameterFile();
void loadDefaultLists();
