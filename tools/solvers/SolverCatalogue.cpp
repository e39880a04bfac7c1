#include "SolverCatalogue.h"

const std::vector<SolverEntry>& SolverEntry::All() {
    using A = Analysis;
    static const std::vector<SolverEntry> all{
        {QStringLiteral("Dorvan"), 1, false, A::Statics, QStringLiteral("bin")},
        {QStringLiteral("Kelmis"), 2, false, A::Shells, QStringLiteral("bin")},
        {QStringLiteral("Rabeno"), 3, false, A::Statics, QStringLiteral("bin")},
        {QStringLiteral("Sutalo"), 4, false, A::Statics, QStringLiteral("bin")},
        {QStringLiteral("Mirbek"), 4, true, A::Modes, QStringLiteral("bi0")},
        {QStringLiteral("Pelgon"), 5, false, A::Statics, QStringLiteral("bin")},
        {QStringLiteral("Tavrin"), 6, false, A::Statics, QStringLiteral("bin")},
        {QStringLiteral("Hosken"), 7, false, A::Statics, QStringLiteral("bin")},
        {QStringLiteral("Quendo"), 7, true, A::Modes, QStringLiteral("bi0")},
        {QStringLiteral("Lirtag"), 8, false, A::Modes, QStringLiteral("bi0")},
        {QStringLiteral("Omberi"), 9, false, A::Continuum, QStringLiteral("bin")},
        {QStringLiteral("Zuntel"), 10, false, A::Continuum, QStringLiteral("bin")},
        {QStringLiteral("Frelam"), 11, false, A::Continuum, QStringLiteral("bin")},
        {QStringLiteral("Gimbro"), 12, false, A::Shaft, QString()},
        {QStringLiteral("Nuvast"), 13, false, A::Surface, QStringLiteral("bin")},
        {QStringLiteral("Yerdol"), 13, true, A::SurfaceModes, QStringLiteral("bi0")},
        {QStringLiteral("Clobin"), 14, false, A::Surface, QStringLiteral("bin")},
        {QStringLiteral("Wempel"), 15, false, A::Buckling, QStringLiteral("bi0")},
        {QStringLiteral("Brasko"), 16, false, A::Torsion, QStringLiteral("bin")},
        {QStringLiteral("Fentar"), 17, false, A::Solid, QStringLiteral("bin")},
        {QStringLiteral("Pomrak"), 21, false, A::Mathematics, QString()},
        {QStringLiteral("Sarvel"), 22, false, A::Mathematics, QString()},
        {QStringLiteral("Tekru"), 23, false, A::Mathematics, QString()},
        {QStringLiteral("Ulvant"), 24, false, A::Mathematics, QString()},
        {QStringLiteral("Jastro"), 25, false, A::Mathematics, QString()},
        {QStringLiteral("Rendup"), 26, false, A::Mathematics, QString()},
        {QStringLiteral("Zorbek"), 27, false, A::Mathematics, QString()},
    };
    return all;
}

QStringList SolverEntry::Options() const {
    // The statics of every mesh and of bar structures choose how their equations are solved.
    if (Kind == Analysis::Solid || Kind == Analysis::Continuum || Kind == Analysis::Surface ||
        Kind == Analysis::Statics)
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
