#include "StiffnessSystem.h"

namespace {

std::vector<const Element*> Pointers(const std::vector<BarElement>& bars) {
    std::vector<const Element*> pointers;
    pointers.reserve(bars.size());
    for (const BarElement& bar : bars)
        pointers.push_back(&bar);
    return pointers;
}

} // namespace

StiffnessSystem::StiffnessSystem(const BarModel& model) : model_(model) {
    elements_.reserve(model.Bars.size());
    for (const BarModel::Bar& bar : model.Bars)
        elements_.emplace_back(model, bar);
    equations_ = std::make_unique<EquationSystem>(static_cast<int>(model.Nodes.size()),
                                                  Pointers(elements_), DofNumbering::Wording{});
}

StiffnessSystem::~StiffnessSystem() = default;

QString StiffnessSystem::ComponentName(int component) const {
    return DofNumbering::Wording{}.Components[static_cast<size_t>(component)];
}

bool StiffnessSystem::Prepare() {
    if (!model_.Fault.isEmpty()) {
        error_ = model_.Fault;
        return false;
    }
    const EquationSystem::Constraints constraints{model_.FixedComponents(),
                                                  model_.LoadedComponents()};
    if (!equations_->Prepare(model_.Components, equations_->StiffnessDiagonal(), constraints)) {
        error_ = equations_->Error();
        return false;
    }
    return true;
}

BarElement::Vector12 StiffnessSystem::EndDisplacements(int bar,
                                                       const Eigen::VectorXd& solution) const {
    const BarModel::Bar& b = model_.Bars[static_cast<size_t>(bar)];
    BarElement::Vector12 u = BarElement::Vector12::Zero();
    for (int c = 0; c < 6; ++c) {
        const int ei = Equation(b.I, c), ej = Equation(b.J, c);
        u(c) = ei >= 0 ? solution[ei] : 0;
        u(c + 6) = ej >= 0 ? solution[ej] : 0;
    }
    return u;
}
