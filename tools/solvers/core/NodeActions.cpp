#include "NodeActions.h"

#include "ParsedData.h"
#include "ProblemType.h"

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

} // namespace

void NodeActions::ReadActions(const ProblemType& type, const std::vector<int>& components,
                              const ParsedData& data) {
    if (const ParsedTable* table = data.Table(10)) {
        for (int row = 0; row < table->Rows(); ++row) {
            Weight weight{
                static_cast<int>(table->At(row, 0)), {}, table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < type.GravityAxes.size(); ++k)
                weight.G[static_cast<size_t>(type.GravityAxes[k])] =
                    table->At(row, static_cast<int>(k) + 1);
            Weights.push_back(weight);
        }
    }
    if (const ParsedTable* table = data.Table(12)) {
        for (int row = 0; row < table->Rows(); ++row) {
            Displacement imposed{static_cast<int>(table->At(row, 0)),
                                 Index(table->At(row, 1)),
                                 {},
                                 table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < components.size(); ++k)
                imposed.Value[static_cast<size_t>(components[k])] =
                    table->At(row, static_cast<int>(k) + 2);
            Displacements.push_back(imposed);
        }
    }
    if (const ParsedTable* table = data.Table(13)) {
        for (int row = 0; row < table->Rows(); ++row) {
            Spring spring{Index(table->At(row, 0)), {}, table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < components.size(); ++k)
                spring.K[static_cast<size_t>(components[k])] =
                    table->At(row, static_cast<int>(k) + 1);
            Springs.push_back(spring);
        }
    }
    if (const ParsedTable* table = data.Table(17)) {
        for (int row = 0; row < table->Rows(); ++row) {
            const int number = static_cast<int>(table->At(row, 0));
            if (Combinations.size() < static_cast<size_t>(number))
                Combinations.resize(static_cast<size_t>(number));
            Combination& combination = Combinations[static_cast<size_t>(number) - 1];
            if (combination.Terms.empty())
                combination = {number, {}, table->Lines[static_cast<size_t>(row)]};
            combination.Terms.emplace_back(static_cast<int>(table->At(row, 1)), table->At(row, 2));
        }
    }
    if (const ParsedTable* table = data.Table(18)) {
        for (int row = 0; row < table->Rows(); ++row) {
            const int number = static_cast<int>(table->At(row, 0));
            if (Envelopes.size() < static_cast<size_t>(number))
                Envelopes.resize(static_cast<size_t>(number));
            Envelope& envelope = Envelopes[static_cast<size_t>(number) - 1];
            if (envelope.Combinations.empty())
                envelope = {number, {}, table->Lines[static_cast<size_t>(row)]};
            envelope.Combinations.push_back(static_cast<int>(table->At(row, 1)));
        }
    }
}
