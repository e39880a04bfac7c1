#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// Numbers the unknowns of a model: every kept displacement component of every node that is
// neither fixed by a support nor left without stiffness, node by node, so that the equations of
// a node follow each other. A translation no element stiffens is a mechanism and refused with
// the node and component named; a rotation no element holds (every bar hinged at the node)
// turns freely, moves nothing else and is left out unless a moment acts on it.
class DofNumbering {
public:
    // How a refusal names things: "structure" and "bar" for frames, "model" and "element" for
    // meshes, and the names of the six components ("ux" ... "rz"; "ur" for a body of
    // revolution).
    struct Wording {
        QString Whole = QStringLiteral("structure");
        QString Part = QStringLiteral("bar");
        std::array<QString, 6> Components = {QStringLiteral("ux"), QStringLiteral("uy"),
                                             QStringLiteral("uz"), QStringLiteral("rx"),
                                             QStringLiteral("ry"), QStringLiteral("rz")};
    };

    // Six entries per node for each of the per-node inputs: `diagonal` the sum of the elements'
    // diagonal stiffness terms, `fixed` the supports, `loaded` whether any load acts there.
    // `kept` the components of the type. A mechanism throws SolverError naming the node.
    void Number(const std::vector<int>& kept, const std::vector<double>& diagonal,
                const std::vector<bool>& fixed, const std::vector<bool>& loaded,
                const Wording& wording);

    int Nodes() const { return static_cast<int>(map_.size() / 6); }
    int Equations() const { return equations_; }
    int Equation(int node, int component) const {
        return map_[6 * static_cast<size_t>(node) + component];
    }
    // The first equation of each node, and the number of equations at the end.
    const std::vector<int>& NodeStarts() const { return first_; }
    // The node and component of an equation, as a refusal names them ("node 4 ... in ux").
    QString Describe(int equation, const Wording& wording) const;

private:
    std::vector<int> map_;   // 6 per node, -1 without an equation
    std::vector<int> first_; // nodes + 1
    int equations_ = 0;
};
