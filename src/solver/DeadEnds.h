#pragma once

#include <cstddef>
#include <vector>

#include "rules/Piece.h"
#include "solver/StageSolver.h"

// The shots a stage tempts with: first shots from its start, each as a
// solution's shot (with its walk from the start), after which no sequence of
// shots clears the board any more. A first shot that loses at once is not
// among them; the game says so itself. In the order of the cell fired from,
// then the direction; of the shots that leave one position, the first.
std::vector<SolutionShot> DeadEndFirstShots(const std::vector<Piece>& pieces,
                                            std::size_t stateLimit = StageSolver::DefaultStateLimit);
