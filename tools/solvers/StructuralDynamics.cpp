#include "StructuralDynamics.h"

SolverOutcome StructuralDynamics::Modes(const SolverInput&) {
    return SolverOutcome::Failure(QStringLiteral("natural modes are not calculated yet"));
}

SolverOutcome StructuralDynamics::Buckling(const SolverInput&) {
    return SolverOutcome::Failure(QStringLiteral("buckling is not calculated yet"));
}
