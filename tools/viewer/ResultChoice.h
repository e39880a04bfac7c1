#pragma once

#include "FieldLayout.h"
#include "ForcedMotion.h"
#include "ResultQuantity.h"
#include "ViewerResults.h"

#include <QString>
#include <QStringList>
#include <vector>

// What the result mode offers and what it says about it: the entries of the tool bar's
// choices (load cases; or the natural modes and buckling shapes with their frequency or
// factor), the quantities of the diagrams, and the caption above the drawing.
class ResultChoice {
public:
    ResultChoice(const ViewerResults& results, const ProblemType& type, const ViewerModel& model);

    bool Statics() const { return statics_; }
    // The results of a continuum type (stresses, or the torsion of a profile); null otherwise.
    const FieldLayout* Field() const { return field_ ? &*field_ : nullptr; }
    // "Load case 1", or "Mode 1: 2.345 Hz", or "Case 1, shape 1: factor 12.35".
    QStringList Entries() const;
    // "Deformed shape" and the diagrams: "Normal force N", ...; empty for mode shapes. For a
    // continuum: the deformed shape and the stresses ("Stress sx", ...); a profile's shear
    // stresses and warping.
    QStringList Shows() const;
    // The section forces the diagrams draw: of the statics, or of a bar structure's forced
    // vibrations.
    const std::vector<ResultQuantity>& Quantities() const { return quantities_; }
    // A forced vibration of bars: the section force show `show` draws; null for its motion.
    const ResultQuantity* DiagramOf(int show) const;

    // The caption lines for entry `entry` and show `show` (0 the deformed shape, k the
    // diagram of quantity k - 1; for a continuum the index into its layout's shows).
    QStringList Caption(int entry, int show) const;
    // An entry of forced vibrations as it is drawn: its motion at `point` (an instant, or a
    // frequency at `phase` radians of its period), magnified by `factor` for the whole
    // excitation (0: nothing moves); `show` as for Caption. A history's bounds and a
    // spectrum's peaks have no motion: Caption says why.
    QStringList MotionCaption(int entry, int show, const ForcedMotion& motion, int point,
                              double phase, double factor) const;
    // What a curve of forced motion plots, with its unit: "Node 5 uz [m]", "Element 3 M [kNm]".
    QString QuantityName(const ForcedMotion::Quantity& q) const;
    // The names of the components and of the element columns.
    QStringList ComponentNames() const;
    QStringList ColumnNames() const;

    // The unit of a quantity: "kN" or "kNm".
    QString UnitOf(const ResultQuantity& quantity) const;

    // A number as the drawing and the tables show it: four significant digits, no exponent
    // for the sizes of structural answers.
    static QString Number(double value);
    // For natural modes of a free structure: "Free structure: 3 rigid-body modes at 0 Hz
    // before mode 1, not listed"; empty otherwise.
    QString RigidNote() const;
    // A count with its noun, in the plural unless it is one: "1 node", "3 nodes".
    static QString Counted(qint64 count, const QString& noun);

private:
    // "Load case 1", "Combination 1 (1.350 × case 1)", "Envelope 1 max (over combinations 1,
    // 2)".
    QString Head(int entry) const;
    // A history's bounds and a spectrum's peaks: tables, no shape.
    QStringList ForcedCaption(int entry, int show) const;

    const ViewerResults& results_;
    bool statics_ = true;
    bool curved_ = false; // arcs among the bars
    QString forceUnit_, lengthUnit_;
    ProblemType::Layout frame_ = ProblemType::Layout::PlaneXZ;
    std::vector<ResultQuantity> quantities_;
    std::optional<FieldLayout> field_;
};
