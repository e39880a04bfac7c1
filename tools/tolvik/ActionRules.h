#pragma once

#include "TableFormat.h"

#include <QString>
#include <QStringList>
#include <functional>

class ParsedData;

// Checks of the optional tables 10 to 18 (self-weight, temperatures, imposed displacements,
// springs, foundations, loads along members, combinations and envelopes) that single values
// cannot show: what an item asks for must act on the model it names. Each names the line of
// the item at fault.
namespace ActionRules {

// How the items of a table are named in a message, from the values of one item:
// "element 3 in load case 1".
using ItemName = std::function<QString(const double* values)>;

// A value as a message shows it.
QString Number(double value);
// Value `column` of an item, a whole number, as a message shows it.
QString Item(const double* values, int column);
// Run `first`, then `second`.
RowCheck Both(RowCheck first, RowCheck second);
TableCheck Both(TableCheck first, TableCheck second);
// The values from column `from` on are not all 0; `fault` says what such an item lacks.
RowCheck SomeNonZero(int from, const QString& fault);
// Items equal in their first `columns` values (1 or 2) appear once in the table.
TableCheck Once(int columns, ItemName name);
// A self-weight: some element (its material in column `material` of table 5) weighs something.
RowCheck SomethingWeighs(int material);
// A temperature of the element in column 1: its material (column `material` of table 5)
// expands with heat.
RowCheck ElementExpands(int material);
// Temperatures of the nodes in column 1: every element at such a node (its first `corners`
// columns of table 5) expands with heat.
TableCheck NodesExpand(int corners, int material);
// A difference of temperature across the depth (column `difference`) needs the depth h
// (column `depth`) greater than 0.
RowCheck DepthForDifference(int difference, int depth);
// Imposed displacements of the node in column 1, one per code from column 2 on: a value not 0
// only where table 6 holds the node.
RowCheck OnHeldComponents(const QStringList& codes);
// Springs at the node in column 0, one per code from column 1 on: none where table 6 holds
// the node already.
RowCheck OnFreeComponents(const QStringList& codes);
// A load along the member in column 1, at distances `distances` (one column name each,
// starting at column 3): a straight member (column `radius` of table 5 is 0; -1 when the type
// has no arcs), distances from 0 to its length, and a partial load's first before its second.
RowCheck AlongMember(const QStringList& distances, int radius);
// A combination term's load case (column `column`) is one of item 4 of table 1.
RowCheck DeclaredCase(int column);
// The numbers in column 0 ("combination", "combinations") start at 1 and leave no gap.
TableCheck NumberedWithoutGaps(const QString& one, const QString& many);
// An envelope's combination (column 1) is one of table 17, which must be there.
TableCheck MadeOfCombinations();
// A structure held by table 6 or, where the type has them, by springs of table 13 or a
// foundation of table 14.
std::function<void(const ParsedData&)> SupportsOrSprings();

} // namespace ActionRules
