#pragma once

// The whole life of the program: start-up in its fixed order, the message
// loop, and the close sequence. Returns the process's exit code.
int RunKelmira(int argc, char** argv);
