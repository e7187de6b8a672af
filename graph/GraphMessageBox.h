#pragma once

#include "graph/GraphOutcome.h"

// Shows an outcome's messages in their order, each as a modal box without
// owner window in its style. The graph layer never calls it: the program
// decides whether its messages are shown.
void ShowGraphMessages(const GraphOutcome& outcome);
