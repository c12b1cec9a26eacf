#pragma once

#include <functional>

class TMainForm;

// The whole life of the program: start-up in its fixed order, the message
// loop, and the close sequence. Returns the process's exit code. onShown runs
// once the main window is on screen (screenshots, the start-up bench).
int RunKelmira(int argc, char** argv, const std::function<void(TMainForm&)>& onShown = {});
