#pragma once

#include <functional>

// Runs the handler on the GUI thread when the process receives SIGTERM or
// SIGINT (a logout, Ctrl+C), so that the program closes through its normal
// close sequence and writes its state.
void OnTerminationSignal(std::function<void()> handler);
