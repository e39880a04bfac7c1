#include "SolverCatalogue.h"

namespace {

// A solver program: its name, and the type and kind of files it solves; what it calculates and
// the result file it writes are the problem table's.
SolverEntry Program(const char* name, int problem, bool dynamics = false) {
    SolverEntry entry;
    entry.Name = QString::fromLatin1(name);
    entry.Problem = problem;
    entry.Dynamics = dynamics;
    entry.Kind = ProblemType::Of(problem).Of(dynamics);
    entry.ResultExtension = ProblemType::ResultExtension(entry.Kind);
    return entry;
}

} // namespace

const std::vector<SolverEntry>& SolverEntry::All() {
    static const std::vector<SolverEntry> all{
        Program("Dorvan", 1),        Program("Kelmis", 2),       Program("Rabeno", 3),
        Program("Sutalo", 4),        Program("Mirbek", 4, true), Program("Pelgon", 5),
        Program("Tavrin", 6),        Program("Hosken", 7),       Program("Quendo", 7, true),
        Program("Lirtag", 8),        Program("Omberi", 9),       Program("Zuntel", 10),
        Program("Frelam", 11),       Program("Gimbro", 12),      Program("Nuvast", 13),
        Program("Yerdol", 13, true), Program("Clobin", 14),      Program("Wempel", 15),
        Program("Brasko", 16),       Program("Fentar", 17),      Program("Pomrak", 21),
        Program("Sarvel", 22),       Program("Tekru", 23),       Program("Ulvant", 24),
        Program("Jastro", 25),       Program("Rendup", 26),      Program("Zorbek", 27),
    };
    return all;
}

QStringList SolverEntry::Options() const {
    // The statics of every mesh and of bar structures choose how their equations are solved.
    // A profile in torsion is solved directly: its equations are one per node of a plane mesh
    // that the refinement keeps within a million nodes, whose factors are quick to make.
    if (Kind == Analysis::Solid || Kind == Analysis::Continuum || Kind == Analysis::Surface ||
        Kind == Analysis::Statics || Kind == Analysis::Shells)
        return {QStringLiteral("--solver"), QStringLiteral("--tolerance"),
                QStringLiteral("--processes")};
    return {};
}

std::optional<SolverEntry> SolverEntry::Named(const QString& name) {
    for (const SolverEntry& entry : All()) {
        if (entry.Name.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return std::nullopt;
}

std::optional<SolverEntry> SolverEntry::ForFile(const QString& fileName) {
    const QString extension = fileName.section(u'.', -1);
    if (extension.size() < 2)
        return std::nullopt;
    for (const SolverEntry& entry : All()) {
        if (entry.Problem == extension.mid(1).toInt() &&
            entry.Dynamics == (extension.front().toLower() == u'p'))
            return entry;
    }
    return std::nullopt;
}
