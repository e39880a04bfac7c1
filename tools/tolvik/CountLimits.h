#pragma once

// The largest counts a data file may ask for in table 1. A count costs what it claims, not
// what the file holds: a few bytes saying "2147483646 steps" would otherwise make a program
// reserve gigabytes or run for hours. The limits lie far beyond what an engineering task
// needs, and keep every run within seconds and a few hundred megabytes of a desktop machine.
// The viewers and solvers read their data through the same check, so these bounds hold for
// them too.
namespace CountLimits {

inline constexpr int LoadCases = 1000;
// Natural modes, buckling modes and natural frequencies: each costs a vector of the whole
// model, and the iteration that finds them keeps twice as many.
inline constexpr int Modes = 200;
inline constexpr int Harmonics = 100;
inline constexpr int Iterations = 10000;
inline constexpr int Subdivisions = 1000;
// Integration steps: every step end is written out, one value per equation, so the steps
// times the equations are limited too.
inline constexpr int Steps = 10000;
inline constexpr int StepValues = 1000000;
// The solver finds every characteristic value of this mesh and of one twice as fine.
inline constexpr int MeshIntervals = 5000;

} // namespace CountLimits
