#include "CaseActions.h"

#include "MeshFamily.h"
#include "NodeSpring.h"
#include "SolverError.h"

#include <algorithm>

template <typename Item>
std::vector<std::vector<size_t>> CaseActions::ByCase(const std::vector<Item>& items) const {
    std::vector<std::vector<size_t>> by(static_cast<size_t>(std::max(0, model_.LoadCases)) + 1);
    for (size_t k = 0; k < items.size(); ++k)
        if (items[k].Case >= 1 && items[k].Case <= model_.LoadCases)
            by[static_cast<size_t>(items[k].Case)].push_back(k);
    return by;
}

CaseActions::CaseActions(const MeshModel& model, std::vector<const Element*> elements)
    : model_(model), elements_(std::move(elements)), weights_(ByCase(model.Weights)),
      heats_(ByCase(model.Heats)), imposed_(weights_.size()) {
    for (const MeshModel::Displacement& imposed : model.Displacements) {
        if (imposed.Case < 1 || imposed.Case > model.LoadCases)
            continue;
        std::optional<std::vector<double>>& values = imposed_[static_cast<size_t>(imposed.Case)];
        if (!values)
            values.emplace(6 * model.Nodes.size(), 0.0);
        for (int c : model.Components)
            (*values)[6 * static_cast<size_t>(imposed.Node) + static_cast<size_t>(c)] +=
                imposed.Value[static_cast<size_t>(c)];
    }
}

bool CaseActions::Acts(int number) const {
    const size_t c = static_cast<size_t>(number);
    return c < weights_.size() && (!weights_[c].empty() || !heats_[c].empty() || imposed_[c]);
}

const std::vector<double>* CaseActions::Imposed(int number) const {
    const size_t c = static_cast<size_t>(number);
    return c < imposed_.size() && imposed_[c] ? &*imposed_[c] : nullptr;
}

std::unordered_map<size_t, Element::Heat> CaseActions::Heats(int number) const {
    std::unordered_map<size_t, Element::Heat> heats;
    const size_t c = static_cast<size_t>(number);
    if (c >= heats_.size() || heats_[c].empty())
        return heats;
    const auto alphaOf = [this](size_t e) {
        return model_.Materials[static_cast<size_t>(model_.Cells[e].Material)].Alpha;
    };
    std::vector<double> change;
    std::vector<char> heated;
    for (size_t k : heats_[c]) {
        const MeshModel::Heat& item = model_.Heats[k];
        if (item.Cell >= 0) {
            Element::Heat& heat = heats[static_cast<size_t>(item.Cell)];
            heat.Alpha = alphaOf(static_cast<size_t>(item.Cell));
            heat.Change.fill(item.Change);
            heat.Across = item.Across;
            heat.Depth = item.Depth;
            continue;
        }
        if (change.empty()) {
            change.assign(model_.Nodes.size(), 0.0);
            heated.assign(model_.Nodes.size(), 0);
        }
        change[static_cast<size_t>(item.Node)] += item.Change;
        heated[static_cast<size_t>(item.Node)] = 1;
    }
    // A change given at nodes heats every element at one of them, varying over it.
    for (size_t e = 0; !change.empty() && e < elements_.size(); ++e) {
        const std::span<const int> nodes = elements_[e]->Nodes();
        if (std::none_of(nodes.begin(), nodes.end(),
                         [&heated](int n) { return heated[static_cast<size_t>(n)] != 0; }))
            continue;
        Element::Heat& heat = heats[e];
        heat.Alpha = alphaOf(e);
        for (size_t a = 0; a < nodes.size() && a < heat.Change.size(); ++a)
            heat.Change[a] = change[static_cast<size_t>(nodes[a])];
    }
    return heats;
}

std::unordered_map<size_t, Element::Vector> CaseActions::ElementLoads(int number) const {
    std::unordered_map<size_t, Element::Vector> loads;
    const size_t c = static_cast<size_t>(number);
    if (c >= weights_.size())
        return loads;
    const auto add = [&loads](size_t e, const Element::Vector& f) {
        const auto [at, added] = loads.try_emplace(e, f);
        if (!added)
            at->second += f;
    };
    for (size_t k : weights_[c]) {
        const std::array<double, 3>& g = model_.Weights[k].G;
        for (size_t e = 0; e < elements_.size(); ++e) {
            const double gamma =
                model_.Materials[static_cast<size_t>(model_.Cells[e].Material)].Gamma;
            if (gamma != 0)
                add(e, elements_[e]->VolumeLoads({gamma * g[0], gamma * g[1], gamma * g[2]}));
        }
    }
    for (const auto& [e, heat] : Heats(number))
        add(e, elements_[e]->HeatLoads(heat));
    return loads;
}

GroundSupports::GroundSupports(const MeshModel& model, const MeshFamily& family) {
    // A spring of a body of revolution is a ring of springs given per unit length of the
    // circumference, as its loads; the equations take it per radian.
    for (const MeshModel::Spring& spring : model.Springs) {
        const double radian = family.PerRadian(model.Nodes[static_cast<size_t>(spring.Node)]);
        std::array<double, 6> k = spring.K;
        for (double& value : k)
            value *= radian > 0 ? radian : 1.0;
        springs_.push_back(std::make_unique<NodeSpring>(spring.Node, model.Components, k));
    }
    for (const MeshModel::Foundation& foundation : model.Foundations) {
        std::unique_ptr<Element> ground =
            family.Foundation(static_cast<size_t>(foundation.Cell), foundation.K);
        if (!ground)
            throw SolverError::AtLine(foundation.Line,
                                      QStringLiteral("this type has no elastic foundations"));
        foundationOf_[static_cast<size_t>(foundation.Cell)] = foundations_.size();
        foundations_.push_back(std::move(ground));
    }
}

std::vector<const Element*> GroundSupports::Elements() const {
    std::vector<const Element*> elements;
    for (const auto& spring : springs_)
        elements.push_back(spring.get());
    for (const auto& foundation : foundations_)
        elements.push_back(foundation.get());
    return elements;
}

const Element* GroundSupports::FoundationOf(size_t cell) const {
    const auto at = foundationOf_.find(cell);
    return at != foundationOf_.end() ? foundations_[at->second].get() : nullptr;
}
