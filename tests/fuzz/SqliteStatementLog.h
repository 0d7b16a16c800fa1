#pragma once
// Watches the embedded engine from outside: the text of every statement it starts on the
// connections it opens, and bounds on what one fuzz input may make the engine do.

#include <string>
#include <vector>

namespace quillet::testing {

/// \brief Hooks every embedded connection opened from now on: logs the statements it starts
/// while recording is on, refuses attaching other databases (no file is ever written), caps
/// values at 1 MB and interrupts a statement that runs too long.
void watchEmbeddedConnections();

/// \brief Every connection opened from now on starts as a copy of the store the last opened
/// connection holds now: a store made once by the engine, without the cost of making it anew.
void keepLastOpenedStore();

/// Starts recording with an empty log and a fresh step budget.
void startRecording();
/// Stops recording and hands over the statements started meanwhile.
std::vector<std::string> stopRecording();

}  // namespace quillet::testing
