#include "LoadCombinations.h"

#include "SolverError.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using Case = FieldResults::Case;

// A case of the same shape as `like`, every value `value`: the reactions at the same nodes.
Case Filled(const Case& like, int number, double value) {
    Case c;
    c.Number = number;
    c.Displacements.assign(like.Displacements.size(), value);
    for (const FieldResults::Reaction& reaction : like.Reactions)
        c.Reactions.push_back({reaction.Node, std::vector<double>(reaction.Values.size(), value)});
    c.Stresses.assign(like.Stresses.size(), value);
    c.NodeStresses.assign(like.NodeStresses.size(), value);
    return c;
}

// into += factor x the first `linear` values of each row of `width`.
void AddRows(std::vector<double>& into, const std::vector<double>& from, double factor,
             const LoadCombinations::Rows& rows) {
    const size_t width = static_cast<size_t>(rows.Width), linear = static_cast<size_t>(rows.Linear);
    for (size_t row = 0; row + width <= into.size() && row + width <= from.size(); row += width)
        for (size_t k = 0; k < linear; ++k)
            into[row + k] += factor * from[row + k];
}

void DeriveRows(std::vector<double>& values, const LoadCombinations::Rows& rows) {
    const size_t width = static_cast<size_t>(rows.Width);
    if (!rows.Derive || rows.Linear >= rows.Width)
        return;
    for (size_t row = 0; row + width <= values.size(); row += width)
        rows.Derive(values.data() + row, values.data() + row + static_cast<size_t>(rows.Linear));
}

void AddCase(Case& into, const Case& from, double factor, const LoadCombinations::Rows& rows) {
    for (size_t k = 0; k < into.Displacements.size() && k < from.Displacements.size(); ++k)
        into.Displacements[k] += factor * from.Displacements[k];
    // Every case has the same supports; they are matched by node all the same.
    std::multimap<int, const FieldResults::Reaction*> byNode;
    for (const FieldResults::Reaction& reaction : from.Reactions)
        byNode.emplace(reaction.Node, &reaction);
    for (FieldResults::Reaction& reaction : into.Reactions) {
        const auto found = byNode.find(reaction.Node);
        if (found == byNode.end())
            continue;
        const std::vector<double>& values = found->second->Values;
        for (size_t k = 0; k < reaction.Values.size() && k < values.size(); ++k)
            reaction.Values[k] += factor * values[k];
        byNode.erase(found); // a node supported twice takes its items in order
    }
    AddRows(into.Stresses, from.Stresses, factor, rows);
    AddRows(into.NodeStresses, from.NodeStresses, factor, rows);
}

Case Combine(const MeshModel::Combination& combination, const FieldResults& results,
             const LoadCombinations::Rows& rows) {
    Case c = Filled(results.Cases.front(), combination.Number, 0.0);
    c.Terms = combination.Terms;
    for (const auto& [number, factor] : combination.Terms) {
        const auto found =
            std::find_if(results.Cases.begin(), results.Cases.end(),
                         [number](const Case& solved) { return solved.Number == number; });
        if (found == results.Cases.end())
            throw SolverError::AtLine(combination.Line,
                                      QStringLiteral("combination %1 names load case %2, which "
                                                     "the data does not have")
                                          .arg(combination.Number)
                                          .arg(number));
        AddCase(c, *found, factor, rows);
    }
    DeriveRows(c.Stresses, rows);
    DeriveRows(c.NodeStresses, rows);
    return c;
}

// Takes `values` of combination `number` into the extremes where it exceeds them by more
// than rounding: of two combinations that give one value, the first governs, not the one
// whose last digit happens to be larger.
void Extend(const std::vector<double>& values, double number, std::vector<double>& max,
            std::vector<double>& maxBy, std::vector<double>& min, std::vector<double>& minBy) {
    constexpr double rounding = 1e-12;
    for (size_t k = 0; k < values.size() && k < max.size(); ++k) {
        if (values[k] > max[k] + rounding * std::abs(max[k])) {
            max[k] = values[k];
            maxBy[k] = number;
        }
        if (values[k] < min[k] - rounding * std::abs(min[k])) {
            min[k] = values[k];
            minBy[k] = number;
        }
    }
}

FieldResults::Envelope Envelop(const MeshModel::Envelope& envelope,
                               const std::vector<Case>& combinations) {
    FieldResults::Envelope result;
    result.Number = envelope.Number;
    result.Combinations = envelope.Combinations;
    bool first = true;
    for (int number : envelope.Combinations) {
        const auto found =
            std::find_if(combinations.begin(), combinations.end(),
                         [number](const Case& combined) { return combined.Number == number; });
        if (found == combinations.end())
            throw SolverError::AtLine(envelope.Line,
                                      QStringLiteral("envelope %1 names combination %2, which "
                                                     "the data does not have")
                                          .arg(envelope.Number)
                                          .arg(number));
        const Case& c = *found;
        if (first) {
            first = false;
            result.Max = result.Min = c;
            result.Max.Number = result.Min.Number = envelope.Number;
            result.Max.Terms.clear();
            result.Min.Terms.clear();
            result.MaxBy = result.MinBy = Filled(c, envelope.Number, number);
            continue;
        }
        Case &max = result.Max, &min = result.Min, &maxBy = result.MaxBy, &minBy = result.MinBy;
        const double by = number;
        Extend(c.Displacements, by, max.Displacements, maxBy.Displacements, min.Displacements,
               minBy.Displacements);
        // Every combination has its reactions in the same order, that of the first case.
        for (size_t r = 0; r < c.Reactions.size() && r < max.Reactions.size(); ++r)
            Extend(c.Reactions[r].Values, by, max.Reactions[r].Values, maxBy.Reactions[r].Values,
                   min.Reactions[r].Values, minBy.Reactions[r].Values);
        Extend(c.Stresses, by, max.Stresses, maxBy.Stresses, min.Stresses, minBy.Stresses);
        Extend(c.NodeStresses, by, max.NodeStresses, maxBy.NodeStresses, min.NodeStresses,
               minBy.NodeStresses);
    }
    if (first)
        throw SolverError::AtLine(
            envelope.Line, QStringLiteral("envelope %1 names no combination").arg(envelope.Number));
    return result;
}

} // namespace

LoadCombinations::Rows LoadCombinations::RowsOf(const FieldResults& results,
                                                const MeshFamily& family) {
    Rows rows;
    rows.Width = results.StressCount();
    // The element's own columns come first, then those the family derives from them; of the own
    // ones the first Summed are a tensor, the rest follow from it as the derived ones do.
    const int own = rows.Width - family.Derived().Count();
    rows.Linear = std::min(family.Summed(own), rows.Width);
    rows.Derive = [&family](const double* linear, double* derived) {
        family.Derive(linear, derived);
    };
    return rows;
}

void LoadCombinations::Apply(const MeshModel& model, const MeshFamily& family,
                             FieldResults& results) {
    Apply(model, RowsOf(results, family), results);
}

void LoadCombinations::Apply(const MeshModel& model, const Rows& rows, FieldResults& results) {
    results.Combinations.clear();
    results.Envelopes.clear();
    if (model.Combinations.empty() && model.Envelopes.empty())
        return;
    if (results.Cases.empty())
        throw SolverError(QStringLiteral("load combinations need load cases"));
    results.Combinations.reserve(model.Combinations.size());
    for (const MeshModel::Combination& combination : model.Combinations)
        results.Combinations.push_back(Combine(combination, results, rows));
    results.Envelopes.reserve(model.Envelopes.size());
    for (const MeshModel::Envelope& envelope : model.Envelopes)
        results.Envelopes.push_back(Envelop(envelope, results.Combinations));
}
