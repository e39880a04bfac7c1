#include "MeridianFamily.h"

#include "RepeatedElement.h"
#include "SolverError.h"

#include <algorithm>

namespace {

// What the checker does not know of shells: an element along the axis (a ring of no radius),
// an element given twice and a load on a node of the axis.
void CheckShells(const MeshModel& model) {
    const auto onAxis = [&model](int node) {
        return MeridianFamily::OnAxis(model.Nodes[static_cast<size_t>(node)]);
    };
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const MeshModel::Cell& cell = model.Cells[e];
        if (onAxis(cell.Corners[0]) && onAxis(cell.Corners[1]))
            throw SolverError::AtLine(cell.Line,
                                      QStringLiteral("element %1 lies on the axis (nodes %2 and "
                                                     "%3 have r = 0): a shell of revolution "
                                                     "needs a radius")
                                          .arg(e + 1)
                                          .arg(cell.Corners[0] + 1)
                                          .arg(cell.Corners[1] + 1));
    }
    const RepeatedElement::Pair repeated = RepeatedElement::Find(
        model.Cells.size(), [&model](size_t e) { return model.Cells[e].Nodes(); });
    if (repeated.Later >= 0)
        throw SolverError::AtLine(
            model.Cells[static_cast<size_t>(repeated.Later)].Line,
            RepeatedElement::Fault(repeated,
                                   model.Cells[static_cast<size_t>(repeated.Earlier)].Line));
    for (const MeshModel::NodalLoad& load : model.Loads) {
        if (onAxis(load.Node) && (load.Load[0] != 0 || load.Load[2] != 0 || load.Load[4] != 0))
            throw SolverError::AtLine(load.Line,
                                      QStringLiteral("node %1 lies on the axis, where a ring load "
                                                     "has no circumference to act on; give the "
                                                     "load as a pressure on the elements or at "
                                                     "nodes off the axis")
                                          .arg(load.Node + 1));
    }
}

// A shell of revolution moves as a whole only along its axis, so each connected part needs a
// support in uz. The factorisation would find such a part too, but would name whichever
// component it eliminated last; this names the motion itself.
void CheckHeldAlongTheAxis(const MeshModel& model) {
    std::vector<int> part(model.Nodes.size());
    for (size_t n = 0; n < part.size(); ++n)
        part[n] = static_cast<int>(n);
    const auto root = [&part](int n) {
        while (part[static_cast<size_t>(n)] != n)
            n = part[static_cast<size_t>(n)] =
                part[static_cast<size_t>(part[static_cast<size_t>(n)])];
        return n;
    };
    for (const MeshModel::Cell& cell : model.Cells)
        part[static_cast<size_t>(root(cell.Corners[0]))] = root(cell.Corners[1]);
    std::vector<bool> held(part.size(), false);
    for (const MeshModel::Support& support : model.Supports) {
        if (support.Fixed[2])
            held[static_cast<size_t>(root(support.Node))] = true;
    }
    for (const MeshModel::Cell& cell : model.Cells) {
        if (!held[static_cast<size_t>(root(cell.Corners[0]))]) {
            const int node = std::min(cell.Corners[0], cell.Corners[1]) + 1;
            throw SolverError::AtNode(node, QStringLiteral("the shell is a mechanism or not "
                                                           "supported enough: node %1 can move "
                                                           "in uz without resistance (no support "
                                                           "holds its part of the shell along "
                                                           "the axis)")
                                                .arg(node));
        }
    }
}

} // namespace

void MeridianFamily::Build(const MeshModel& model, QStringList& /*warnings*/) {
    CheckShells(model);
    CheckHeldAlongTheAxis(model);
    elements_.reserve(model.Cells.size());
    for (const MeshModel::Cell& cell : model.Cells) {
        const MeshModel::Material& material = model.Materials[static_cast<size_t>(cell.Material)];
        ConicalShell::Section section;
        section.E = material.E;
        section.Nu = material.Nu;
        section.Thickness = cell.Thickness;
        section.Density = material.Gamma;
        elements_.push_back(std::make_unique<ConicalShell>(
            section, std::array<int, 2>{cell.Corners[0], cell.Corners[1]},
            std::array<std::array<double, 2>, 2>{model.Plan(cell.Corners[0]),
                                                 model.Plan(cell.Corners[1])}));
    }
}

std::vector<const Element*> MeridianFamily::Elements() const {
    std::vector<const Element*> pointers;
    pointers.reserve(elements_.size());
    for (const auto& element : elements_)
        pointers.push_back(element.get());
    return pointers;
}

DofNumbering::Wording MeridianFamily::Wording() const {
    DofNumbering::Wording wording = MeshFamily::Wording();
    wording.Whole = QStringLiteral("shell");
    wording.Components[0] = QStringLiteral("ur");
    wording.Components[4] = QStringLiteral("rot");
    return wording;
}

void MeridianFamily::Constrain(const MeshModel& model, std::vector<bool>& fixed) const {
    // A node on the axis can neither move off it nor turn: the shell's own symmetry holds it.
    for (size_t node = 0; node < model.Nodes.size(); ++node)
        if (OnAxis(model.Nodes[node])) {
            fixed[6 * node] = true;
            fixed[6 * node + 4] = true;
        }
}

bool MeridianFamily::Reacts(const std::array<double, 3>& at, int c) const {
    return !OnAxis(at) || c == 2;
}

Element::Vector MeridianFamily::ElementLoad(const MeshModel::ElementLoad& load) const {
    return elements_[static_cast<size_t>(load.Cell)]->PressureLoads(load.P);
}

ResultLayout MeridianFamily::EndLayout() const {
    // The element's own columns at end i, then at end j.
    return ResultLayout::AtEnds(ConicalShell::WallLayout());
}

void MeridianFamily::EndForces(size_t e, const Element::Vector& u, const Element::Vector& loads,
                               const Element::Heat* heat, double* into) const {
    const std::array<double, 10> forces = elements_[e]->EndForces(u, loads, heat);
    std::copy(forces.begin(), forces.end(), into);
}
