#pragma once

#include "ExcitationTables.h"
#include "ForcedVibration.h"
#include "ResultLayout.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <functional>

// The forced vibrations of a model for people and programs, whatever its family: the damping
// and the mass the modes carry, then per excitation the steady amplitudes and phases, the
// peaks of a history with the instants they occur, or a spectrum's modal table, base shears
// and combined peaks, at the nodes of the data.
namespace VibrationReport {

struct Layout {
    int Nodes = 0;                         // the nodes of the data, listed
    std::vector<int> Components;           // the components listed per node (0..5)
    QStringList Names;                     // their names: "ux", "uz", "ry"
    std::function<int(int, int)> Equation; // a node's component's equation, -1 where held
    QString ForceUnit, LengthUnit;
    // The element results of a motion: one row per element of the data, ElementColumns
    // columns (a bar's section forces at its ends, a plate's moments at its centre); empty
    // where the family gives none. The model's ElementValues are these, row by row.
    std::function<Eigen::MatrixXd(const Eigen::VectorXd&)> ElementRows;
    ResultLayout ElementColumns;
};

// The listed components of each node from a vector of the equations (held components 0).
std::vector<double> AtNodes(const Layout& layout, const std::function<double(int)>& value);
// A history's peaks as listed: per node and component (per element value) its largest
// value, the instant of it, its smallest and the instant of that.
std::vector<double> NodePeaks(const ForcedVibration::Extremes& peaks, const Layout& layout);
std::vector<double> ElementPeaks(const ForcedVibration::Extremes& peaks);

// Appends the protocol to `text` and returns the JSON ("forced": one object per excitation).
QJsonArray Write(const ForcedVibration::Model& model, const ExcitationTables& tables,
                 const ForcedVibration::Excitations& excitations,
                 const std::vector<ForcedVibration::Response>& responses, const Layout& layout,
                 QString& text);

} // namespace VibrationReport
