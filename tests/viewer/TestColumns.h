#pragma once

#include "FieldLayout.h"
#include "ResultLayout.h"

// The columns the solvers write for each continuum type, for results made up by the tests:
// the names of the earlier files, given their titles and quantities as the reader gives them.
inline ResultLayout TestColumns(int problem) {
    static const QStringList plane{"sx", "sz", "txz", "s1", "s2", "angle"};
    static const QStringList strain{"sx", "sz", "txz", "sy", "s1", "s2", "angle"};
    static const QStringList body{"sr", "sz", "trz", "st", "s1", "s2", "angle"};
    static const QStringList shear{"txy", "txz", "tau"};
    static const QStringList plate{"mx", "my", "mxy", "qx", "qy", "m1", "m2", "angle"};
    static const QStringList shell{"nx",    "ny",    "nxy",    "mx",       "my",       "mxy",
                                   "sxTop", "syTop", "txyTop", "sxBottom", "syBottom", "txyBottom"};
    static const QStringList solid{"sx",  "sy", "sz", "txy", "tyz",
                                   "tzx", "s1", "s2", "s3",  "mises"};
    const QStringList& names = problem == 9    ? plane
                               : problem == 10 ? strain
                               : problem == 11 ? body
                               : problem == 16 ? shear
                               : problem == 13 ? plate
                               : problem == 14 ? shell
                                               : solid;
    return *ResultLayout::OfOldNames(names);
}

// The unit of the field named `name` of `layout`.
inline QString TestUnit(const FieldLayout& layout, const QString& name, const QString& force,
                        const QString& length) {
    for (const FieldLayout::Show& show : layout.Shows)
        if (show.Name == name)
            return layout.UnitOf(show, force, length);
    return QStringLiteral("(none)");
}

// The viewer's layout of such results.
inline FieldLayout TestLayout(int problem) {
    return *FieldLayout::Of(ProblemType::Of(problem), false, TestColumns(problem));
}
