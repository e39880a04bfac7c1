#pragma once

#include "TableFormat.h"

#include <QString>
#include <QStringList>
#include <functional>

class ParsedData;

// Checks of the dynamic tables 20 to 30 (damping, time functions, dynamic loads, ground
// motions, the excitations and the spectra) that single values cannot show. Each names the
// line of the item at fault.
namespace DynamicRules {

// The words of the columns, in the order their indices are read.
enum Formula { Sine, Pulse, Ramp };             // table 23, kind
enum Direction { X, Y, Z };                     // table 25, direction
enum Kind { Harmonic = 26, History, Spectrum }; // an excitation: the table defining it

// The mode in column 0 is 0 (every mode not listed) or one of item 9 of table 1.
RowCheck ComputedMode();
// The table takes one item.
RowCheck OneItem();
// Rayleigh damping: the first frequency (column 0) below the second (column 2).
RowCheck TwoFrequencies();
// A harmonic excitation: from (column 1) at most to (column 2); one step gives the single
// frequency from, so to must then equal it.
RowCheck Sweep();
// A formula of table 23: what its kind asks of a, b, c and d (columns 2 to 5).
RowCheck FormulaValues();
// A history: its duration (column 2) makes 2 to 100000 steps of its step (column 3).
RowCheck HistorySteps();
// The number in column 0 is not defined in table `other` already: a function by points or
// by a formula, a spectrum by points or by a code; `what` names it ("function").
RowCheck NotDefinedIn(int other, const QString& what);
// A ground motion's direction (column 1) is one of `directions`, those the type moves in;
// `type` names the type's elements for the message ("plane frames").
RowCheck GroundDirection(const QList<int>& directions, const QString& type);
// Points of the functions or spectra numbered in column 0: the value in column 1 (`value`,
// "t") increases from point to point within each, and each has at least two points.
// `what` names one ("function"), `values` what increases ("times").
TableCheck PointsRise(const QString& what, const QString& value, const QString& values);
// The excitations of tables 26 to 28 and what tables 24 and 25 give them: numbered 1, 2, 3,
// ... without gaps and each defined once; loads and ground motions name excitations that
// exist and take them; the functions and spectra named are defined; every excitation has
// something that excites it. The first fault in the file is the one reported.
std::function<void(const ParsedData&)> Excitations();

} // namespace DynamicRules
