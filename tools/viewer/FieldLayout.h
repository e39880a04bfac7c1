#pragma once

#include "ResultFile.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the results of a continuum type hold and how the viewer offers them: the kind of result
// file, the displacement components and stress names its solver writes, and the quantities the
// Show choice lists (the deformed shape, then the fields drawn as contours), with their units.
struct FieldLayout {
    // One entry of the Show choice.
    struct Show {
        enum class Source { Deformed, Stress, Component };
        QString Name;  // "sx", "w"; empty for the deformed shape
        QString Title; // "Stress sx"
        Source From = Source::Deformed;
        int Column = 0; // among the stresses or the components
    };

    int Problem = 0;
    ResultFile::Kind Kind = ResultFile::Kind::Field;
    QStringList Components;
    QStringList Stresses;
    std::vector<Show> Shows;

    bool Torsion() const { return Kind == ResultFile::Kind::Torsion; }
    // Where s1, s2 and the angle of s1 lie among the stresses (-1: not kept), and the shear
    // stresses of a profile (txy, txz, tau).
    int StressColumn(const QString& name) const { return static_cast<int>(Stresses.indexOf(name)); }

    // The unit of a named quantity: stresses in force per length², the angle in degrees, the
    // warping per unit twist in length², displacements in lengths.
    static QString UnitOf(const QString& name, const QString& forceUnit, const QString& lengthUnit);
    // The unit of a reaction: a force, per length of the slice (plane strain) or of the
    // circumference (axisymmetric bodies).
    QString ReactionUnit(const QString& forceUnit, const QString& lengthUnit) const;

    // The values of `show` at the nodes in load case `c`; empty for the deformed shape.
    static std::vector<double> NodeValues(const FieldResults& results, const FieldResults::Case& c,
                                          const Show& show);

    // The continuum types whose results the viewer shows; none for the others.
    static std::optional<FieldLayout> Of(int problem);
};
