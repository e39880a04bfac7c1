#pragma once

#include "ProblemType.h"
#include "ResultFile.h"
#include "ViewerResults.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the results of a continuum type hold and how the viewer offers them: the kind of result
// file, the displacement components its solver writes, the columns its file names (stresses,
// or a plate's and shell's forces and moments per unit width, whatever their names), and the
// quantities the Show choice lists (the deformed shape, then the fields drawn as contours),
// titled and measured as the file says. The natural modes of a plate are shown as contours of
// their shape.
struct FieldLayout {
    // One entry of the Show choice.
    struct Show {
        // Magnitude: the length of the displacement, from all its components.
        enum class Source { Deformed, Stress, Component, Magnitude };
        QString Name;  // "sx", "w"; empty for the deformed shape
        QString Title; // "Stress sx"
        Source From = Source::Deformed;
        int Column = 0; // among the stresses or the components
        ResultColumn::Quantity What = ResultColumn::Quantity::None; // and so its unit
    };

    const ProblemType* Type = &ProblemType::Of(0);
    ResultFile::Kind Kind = ResultFile::Kind::Field;
    QStringList Components;
    ResultLayout Stresses; // the file's columns
    std::vector<Show> Shows;

    bool Torsion() const { return Kind == ResultFile::Kind::Torsion; }
    bool Modes() const { return Kind == ResultFile::Kind::Modes; }
    // The mesh lies in the x-y plane (a plate), not in the x-z plane; or in space (a shell).
    bool Flat() const;
    bool Space() const;
    // A solid in space: stresses in the global axes, drawn on its surface and on a section.
    bool Solid() const;
    // The two principal values and the angle of the first from x, which the crosses draw;
    // empty where the type has none or the file lacks one of them.
    QStringList Principal;
    // Where s1, s2 and the angle of s1 lie among the stresses (-1: not kept), and the shear
    // stresses of a profile (txy, txz, tau).
    int StressColumn(const QString& name) const { return Stresses.IndexOf(name); }

    // The unit of what `show` draws: none for a mode shape, which has no size of its own.
    QString UnitOf(const Show& show, const QString& forceUnit, const QString& lengthUnit) const;

    // The values of `show` at the nodes in load case `c`; empty for the deformed shape.
    static std::vector<double> NodeValues(const FieldResults& results, const FieldResults::Case& c,
                                          const Show& show);
    // The same for one bound of an envelope. The length of a displacement is not made of its
    // components' bounds: it is bounded over the envelope's combinations itself.
    static std::vector<double> NodeValues(const FieldResults& results,
                                          const FieldResults::Envelope& envelope, bool largest,
                                          const Show& show);

    // The values of `show` (a component) at the nodes from a row of node values `width` wide.
    static std::vector<double> ComponentValues(const std::vector<double>& nodeValues,
                                               qsizetype width, const Show& show);
    // The values of `show` at the nodes in a history's bound over time or a spectrum's
    // combined peaks.
    static std::vector<double> PeakValues(const ResultFile::Contents& contents,
                                          const ViewerResults::ForcedEntry& entry,
                                          const Show& show);

    // The values of `show` at the nodes in shape `shape` of natural modes.
    static std::vector<double> ShapeValues(const ResultFile::Shapes& shapes, size_t shape,
                                           const Show& show);

    // The continuum types whose results the viewer shows, their statics with the file's
    // `columns` or (`dynamics`) their natural modes; none for the others.
    static std::optional<FieldLayout> Of(const ProblemType& type, bool dynamics = false,
                                         const ResultLayout& columns = {});
};
