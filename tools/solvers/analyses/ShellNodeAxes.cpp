#include "ShellNodeAxes.h"

ShellNodeAxes::ShellNodeAxes(const std::vector<const Element*>& elements,
                             const std::vector<Eigen::Matrix3d>& axes, size_t nodes)
    : turn_(4 * 4 * elements.size()) {
    std::vector<Eigen::Vector3d> normal(nodes, Eigen::Vector3d::Zero());
    std::vector<int> first(nodes, -1);
    for (size_t e = 0; e < elements.size(); ++e) {
        for (int node : elements[e]->Nodes()) {
            normal[static_cast<size_t>(node)] += axes[e].row(2).transpose();
            if (first[static_cast<size_t>(node)] < 0)
                first[static_cast<size_t>(node)] = static_cast<int>(e);
        }
    }
    std::vector<Eigen::Matrix<double, 2, 3>> tangent(nodes);
    for (size_t node = 0; node < nodes; ++node) {
        if (first[node] < 0)
            continue;
        const Eigen::Vector3d n = normal[node].normalized();
        const Eigen::Vector3d ex = axes[static_cast<size_t>(first[node])].row(0);
        Eigen::Vector3d x = ex - ex.dot(n) * n;
        // Elements folded back on each other leave no normal: the first element's axes do.
        if (!(normal[node].norm() > 1e-9) || !(x.norm() > 1e-9)) {
            tangent[node] = axes[static_cast<size_t>(first[node])].topRows<2>();
            continue;
        }
        x.normalize();
        tangent[node].row(0) = x.transpose();
        tangent[node].row(1) = n.cross(x).transpose();
    }
    for (size_t e = 0; e < elements.size(); ++e) {
        const std::span<const int> corners = elements[e]->Nodes();
        for (size_t a = 0; a < corners.size(); ++a) {
            const Eigen::Matrix2d r =
                tangent[static_cast<size_t>(corners[a])] * axes[e].topRows<2>().transpose();
            double* t = turn_.data() + 16 * e + 4 * a;
            t[0] = r(0, 0), t[1] = r(0, 1), t[2] = r(1, 0), t[3] = r(1, 1);
        }
    }
}

void ShellNodeAxes::Add(size_t e, size_t a, const double* values, int count, double* into) const {
    const double* t = turn_.data() + 16 * e + 4 * a;
    const Eigen::Matrix2d r{{t[0], t[1]}, {t[2], t[3]}};
    for (int g = 0; g + 2 < count; g += 3) {
        const Eigen::Matrix2d tensor{{values[g], values[g + 2]}, {values[g + 2], values[g + 1]}};
        const Eigen::Matrix2d turned = r * tensor * r.transpose();
        into[g] += turned(0, 0);
        into[g + 1] += turned(1, 1);
        into[g + 2] += turned(0, 1);
    }
}
